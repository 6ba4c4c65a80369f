#include "playlist/PlaylistGeometry.h"

#include <algorithm>

#include "base/SettingsKeys.h"

namespace orvalis {

namespace {

// The player window's first place: 366 x 272 in the middle of the screen.
constexpr int kPlayerWidth = 366;
constexpr int kPlayerHeight = 272;

// How much of the window must lie on a screen for it to count as there (or all of it, if
// it is smaller): enough to see it and take hold of it.
constexpr int kGrip = 32;

constexpr int kEditWidth = 23, kEditHeight = 18, kEditGap = 10;
constexpr int kTopButton = 10;

PlaylistRect at(int x, int y, int w, int h) {
    return {x, y, x + w, y + h};
}

}  // namespace

PlaylistRect readPlaylistPlacement(const SettingsStore& settings,
                                   const std::vector<PlaylistRect>& screens) {
    const PlaylistRect home = screens.empty() ? PlaylistRect{} : screens.front();
    int defaultLeft = home.left + (home.width() + kPlayerWidth) / 2;
    int defaultTop = home.top + (home.height() - kPlayerHeight) / 2;
    PlaylistRect r;
    r.left = settings::getOr(settings, keys::PlaylistLeft, defaultLeft);
    r.top = settings::getOr(settings, keys::PlaylistTop, defaultTop);
    r.right = settings::getOr(settings, keys::PlaylistRight, r.left + kPlaylistMinWidth);
    r.bottom = settings::getOr(settings, keys::PlaylistBottom, r.top + kPlayerHeight);
    if (r.width() < kPlaylistMinWidth) r.right = r.left + kPlaylistMinWidth;
    if (r.height() < kPlaylistMinHeight) r.bottom = r.top + kPlaylistMinHeight;
    return keepOnScreens(r, screens);
}

PlaylistRect keepOnScreens(const PlaylistRect& window, const std::vector<PlaylistRect>& screens) {
    const PlaylistRect* nearest = nullptr;
    long long best = 0;
    for (const PlaylistRect& screen : screens) {
        if (screen.empty()) continue;
        int visibleWidth =
            std::min(window.right, screen.right) - std::max(window.left, screen.left);
        int visibleHeight =
            std::min(window.bottom, screen.bottom) - std::max(window.top, screen.top);
        if (visibleWidth >= std::min(window.width(), kGrip) &&
            visibleHeight >= std::min(window.height(), kGrip))
            return window;
        long long dx = std::max({0, screen.left - window.right, window.left - screen.right});
        long long dy = std::max({0, screen.top - window.bottom, window.top - screen.bottom});
        if (!nearest || dx * dx + dy * dy < best) {
            nearest = &screen;
            best = dx * dx + dy * dy;
        }
    }
    if (!nearest) return window;
    const PlaylistRect& to = *nearest;
    int width = std::min(window.width(), to.width());
    int height = std::min(window.height(), to.height());
    int left = std::clamp(window.left, to.left, to.right - width);
    int top = std::clamp(window.top, to.top, to.bottom - height);
    return {left, top, left + width, top + height};
}

void writePlaylistPlacement(SettingsStore& settings, const PlaylistRect& rect) {
    SettingsBatch batch(settings);
    settings::put(settings, keys::PlaylistLeft, rect.left);
    settings::put(settings, keys::PlaylistTop, rect.top);
    settings::put(settings, keys::PlaylistRight, rect.right);
    settings::put(settings, keys::PlaylistBottom, rect.bottom);
}

PlaylistLayout layoutPlaylist(int w, int h, bool showControls) {
    PlaylistLayout l;
    l.controlsVisible = showControls;
    l.list = {2, 15, w - 2, showControls ? h - 40 : h - 22};
    l.mainMenu = at(2, 2, kTopButton, kTopButton);
    l.check = at(2 + kTopButton, 2, kTopButton, kTopButton);
    l.hide = at(w - 2 - kTopButton, 2, kTopButton, kTopButton);
    l.minimizeMain = at(w - 2 - 2 * kTopButton, 2, kTopButton, kTopButton);
    int editY = showControls ? h - 38 : h - 20;
    // Hidden controls wait below the client area.
    int controlY = showControls ? h - 20 : h + 20;
    for (int i = 0; i < 5; ++i) {
        int x = 2 + i * (kEditWidth + kEditGap);
        l.editRow[static_cast<size_t>(i)] = at(x, editY, kEditWidth, kEditHeight);
        l.controlRow[static_cast<size_t>(i)] = at(x, controlY, kEditWidth, kEditHeight);
    }
    return l;
}

}  // namespace orvalis
