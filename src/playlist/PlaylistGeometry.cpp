#include "playlist/PlaylistGeometry.h"

#include "app/SettingsKeys.h"

namespace orvalis {

namespace {

// The player window's first place: 366 x 272 in the middle of the screen.
constexpr int kPlayerWidth = 366;
constexpr int kPlayerHeight = 272;

constexpr int kEditWidth = 23, kEditHeight = 18, kEditGap = 10;
constexpr int kTopButton = 10;

PlaylistRect at(int x, int y, int w, int h) {
    return {x, y, x + w, y + h};
}

}  // namespace

PlaylistRect readPlaylistPlacement(const SettingsStore& settings, int screenWidth,
                                   int screenHeight) {
    const char* s = sections::PlaylistScreen;
    int defaultLeft = (screenWidth + kPlayerWidth) / 2;
    int defaultTop = (screenHeight - kPlayerHeight) / 2;
    PlaylistRect r;
    r.left = settings.getInt(s, "left", defaultLeft);
    r.top = settings.getInt(s, "top", defaultTop);
    if (r.left > screenWidth) r.left = 0;
    if (r.top > screenHeight) r.top = 0;
    r.right = settings.getInt(s, "right", r.left + kPlaylistMinWidth);
    r.bottom = settings.getInt(s, "bottom", r.top + kPlayerHeight);
    if (r.width() < kPlaylistMinWidth) r.right = r.left + kPlaylistMinWidth;
    if (r.height() < kPlaylistMinHeight) r.bottom = r.top + kPlaylistMinHeight;
    return r;
}

void writePlaylistPlacement(SettingsStore& settings, const PlaylistRect& rect) {
    SettingsBatch batch(settings);
    const char* s = sections::PlaylistScreen;
    settings.putInt(s, "left", rect.left);
    settings.putInt(s, "top", rect.top);
    settings.putInt(s, "right", rect.right);
    settings.putInt(s, "bottom", rect.bottom);
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
