#include "ports/Geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace orvalis::geometry {

namespace {

// A size no larger than the screen's, in the same proportions.
Size fitSize(Size size, const Rect& screen) {
    const long long w = size.width, h = size.height;
    const long long sw = screen.width(), sh = screen.height();
    if (w <= sw && h <= sh) return size;
    if (w * sh > h * sw) return {static_cast<int>(sw), static_cast<int>(std::max(1LL, h * sw / w))};
    return {static_cast<int>(std::max(1LL, w * sh / h)), static_cast<int>(sh)};
}

// Zoom z of the native size, at least 192 x 130, and no larger than the screen.
Size zoomSize(Size native, double z, const Rect& screen) {
    const Size zoomed{std::max(static_cast<int>(native.width * z), kMinWidth),
                      std::max(static_cast<int>(native.height * z), kMinHeight)};
    return screen.empty() ? zoomed : fitSize(zoomed, screen);
}

}  // namespace

Rect fitInside(const Rect& window, const Rect& screen) {
    if (window.empty() || screen.empty()) return window;
    const Size size = fitSize({window.width(), window.height()}, screen);
    Rect r{window.left, window.top, window.left + size.width, window.top + size.height};
    if (r.right > screen.right) r = r.moved(screen.right - r.right, 0);
    if (r.bottom > screen.bottom) r = r.moved(0, screen.bottom - r.bottom);
    if (r.left < screen.left) r = r.moved(screen.left - r.left, 0);
    if (r.top < screen.top) r = r.moved(0, screen.top - r.top);
    return r;
}

Rect zoomRect(const Rect& window, Size native, double z, const Rect& screen) {
    const Size size = zoomSize(native, z, screen);
    return fitInside({window.left, window.top, window.left + size.width, window.top + size.height},
                     screen);
}

int clampTrackHeight(int trackHeight) {
    return std::clamp(trackHeight, kMinTrackHeight, kMaxTrackHeight);
}

int transportBarHeight(int trackHeight, bool useRepeatCtrl) {
    return clampTrackHeight(trackHeight) + 42 + (useRepeatCtrl ? 7 : 0);
}

int captionFontSizeForHeight(int clientHeight, int fontOffset) {
    int size = static_cast<int>(2.0 * std::sqrt(std::max(0, clientHeight)));
    if (size + fontOffset < 10) size = 10 - fontOffset;
    if (size + fontOffset > 70) size = 70 - fontOffset;
    return size;
}

Layout layoutPicture(const LayoutInput& in) {
    Layout out;
    const int w = in.window.width();
    const int h = in.window.height();
    const int m = static_cast<int>(w * in.panScanPercent / 100.0);
    out.captionRoom = in.captionsLoaded ? static_cast<int>(h * in.captionSpacePercent * 0.01) : 0;
    out.showsVideo = in.hasVideo;
    if (!in.hasVideo) {
        out.video = {0, 0, w, h};
        return out;
    }
    if (in.mode != ScreenMode::Normal) {
        out.video = {-m, 0, w + m, h - out.captionRoom};
    } else if (in.keepAspect && in.native.width > 0) {
        out.video = {0, 0, w,
                     static_cast<int>(static_cast<long long>(w) * in.native.height / in.native.width)};
    } else {
        out.video = {0, 0, w, h - out.captionRoom};
    }
    return out;
}

VideoPlacement placementFor(const Layout& layout, Size client, Size native, ScreenMode mode) {
    VideoPlacement p;
    if (client.width <= 0 || client.height <= 0) return p;
    const Rect& v = layout.video;
    const Rect visible{std::max(v.left, 0), std::max(v.top, 0), std::min(v.right, client.width),
                       std::min(v.bottom, client.height)};
    if (visible.empty()) return p;
    p.marginLeft = static_cast<double>(visible.left) / client.width;
    p.marginRight = static_cast<double>(client.width - visible.right) / client.width;
    p.marginTop = static_cast<double>(visible.top) / client.height;
    p.marginBottom = static_cast<double>(client.height - visible.bottom) / client.height;
    p.keepAspect = mode == ScreenMode::FullScreen;
    if (v.width() > visible.width() || v.height() > visible.height()) {
        double scale;
        if (p.keepAspect && native.width > 0 && native.height > 0) {
            const double full = std::min(static_cast<double>(v.width()) / native.width,
                                         static_cast<double>(v.height()) / native.height);
            const double shown = std::min(static_cast<double>(visible.width()) / native.width,
                                          static_cast<double>(visible.height()) / native.height);
            scale = full / shown;
        } else {
            scale = static_cast<double>(v.width()) / visible.width();
        }
        p.zoom = std::log2(std::max(scale, 1.0));
    }
    return p;
}

Rect transportBarRect(const Rect& window, int barHeight) {
    return {window.left, window.bottom - barHeight, window.right, window.bottom};
}

Rect shownTransportBarRect(const Rect& window, int barHeight) {
    return {window.left + 2, window.bottom - 2 - barHeight, window.right - 2, window.bottom - 2};
}

bool inTransportBand(Point p, Size client, int barHeight) {
    return p.x >= 0 && p.x < client.width && p.y > client.height - barHeight + 3 &&
           p.y < client.height - 5;
}

int borderZone(Point p, Size client, int b) {
    if (b <= 0) return 0;
    const int L = 0, T = 0, R = client.width, B = client.height;
    const Rect zones[8] = {
        {L, T + b, L + b, B - b},  // left
        {R - b, T + b, R, B - b},  // right
        {L + b, T, R - b, T + b},  // top
        {L, T, L + b, T + b},      // top-left
        {R - b, T, R, T + b},      // top-right
        {L + b, B - b, R - b, B},  // bottom
        {L, B - b, L + b, B},      // bottom-left
        {R - b, B - b, R, B},      // bottom-right
    };
    for (int i = 0; i < 8; ++i)
        if (zones[i].contains(p)) return i + 1;
    return 0;
}

SizingEdge edgeOfZone(int zone) {
    static constexpr SizingEdge edges[] = {SizingEdge::Left,     SizingEdge::Right,
                                           SizingEdge::Top,      SizingEdge::TopLeft,
                                           SizingEdge::TopRight, SizingEdge::Bottom,
                                           SizingEdge::BottomLeft, SizingEdge::BottomRight};
    return edges[std::clamp(zone, 1, 8) - 1];
}

Rect keepProportions(const Rect& proposed, SizingEdge edge, double aspect) {
    if (aspect <= 0) return proposed;
    Rect r = proposed;
    switch (edge) {
        case SizingEdge::Left:
        case SizingEdge::Right:
        case SizingEdge::BottomLeft:
        case SizingEdge::BottomRight:
            r.bottom = r.top + static_cast<int>(r.width() / aspect);
            break;
        case SizingEdge::Top:
        case SizingEdge::TopRight:
        case SizingEdge::Bottom:
            r.right = r.left + static_cast<int>(r.height() * aspect);
            break;
        case SizingEdge::TopLeft:
            r.left = r.right - static_cast<int>(r.height() * aspect);
            break;
    }
    return r;
}

Size aspectNativeSize(AspectChoice choice, Size video) {
    switch (choice) {
        case AspectChoice::Original:
            return video.width > 0 && video.height > 0 ? video : kIdlePictureSize;
        case AspectChoice::FourThree:
            return {static_cast<int>(video.height * 1.333333), video.height};
        case AspectChoice::SixteenNine:
            return {static_cast<int>(video.height * 1.777777), video.height};
    }
    return video;
}

Rect rectForNativeSize(const Rect& window, Size native, int captionSpacePercent, double* aspect) {
    Rect r = window;
    if (native.width <= 0 || native.height <= 0) return r;
    const int height = static_cast<int>(static_cast<long long>(r.width()) * native.height / native.width);
    r.bottom = r.top + height + static_cast<int>(height * captionSpacePercent * 0.01);
    if (aspect && r.height() > 0) *aspect = static_cast<double>(r.width()) / r.height();
    return r;
}

Rect centred(Size size, const Rect& screen) {
    const int left = screen.left + (screen.width() - size.width) / 2;
    const int top = screen.top + (screen.height() - size.height) / 2;
    return {left, top, left + size.width, top + size.height};
}

Rect startPlacement(const SavedPlacement& saved, bool keepAspect, Size idleSize, Rect screen) {
    const double idleAspect = static_cast<double>(idleSize.width) / idleSize.height;
    Rect r{saved.left, saved.top, saved.right, 0};
    if (keepAspect || !saved.bottom) {
        r.bottom = r.top + static_cast<int>(r.width() / idleAspect);
    } else {
        r.bottom = *saved.bottom;
    }
    if (r.width() < kMinWidth || r.height() < kMinHeight)
        r = {r.left, r.top, r.left + kIdlePictureSize.width, r.top + kIdlePictureSize.height};
    const Size idle = zoomSize(idleSize, 1.0, screen);
    if (keepAspect) {
        r = {r.left, r.top, r.left + idle.width, r.top + idle.height};
        if (r.right > screen.right) r = r.moved(screen.right - r.right, 0);
        if (r.bottom > screen.bottom) r = r.moved(0, screen.bottom - r.bottom);
    }
    if (r.width() > screen.width() || r.height() > screen.height()) return centred(idle, screen);
    if (!r.intersects(screen)) return centred({r.width(), r.height()}, screen);
    return r;
}

Rect snapRect(const Rect& proposed, const Rect& screen, const std::optional<Rect>& taskbar,
              const std::optional<Rect>& other, int distance) {
    Rect r = proposed;
    const int w = r.width(), h = r.height();
    auto near = [distance](int a, int b) { return std::abs(a - b) <= distance; };
    // The first target edge within reach wins; moving keeps the size.
    auto snapX = [&](int target, bool leftEdge) {
        int edge = leftEdge ? r.left : r.right;
        if (!near(edge, target)) return false;
        r.left = leftEdge ? target : target - w;
        r.right = r.left + w;
        return true;
    };
    auto snapY = [&](int target, bool topEdge) {
        int edge = topEdge ? r.top : r.bottom;
        if (!near(edge, target)) return false;
        r.top = topEdge ? target : target - h;
        r.bottom = r.top + h;
        return true;
    };
    bool sx = snapX(screen.left, true) || snapX(screen.right, false);
    bool sy = snapY(screen.top, true) || snapY(screen.bottom, false);
    if (taskbar) {
        const int margin = 3;
        if (!sy) sy = snapY(taskbar->top - margin, false) || snapY(taskbar->bottom + margin, true);
        if (!sx) sx = snapX(taskbar->left - margin, false) || snapX(taskbar->right + margin, true);
    }
    if (other) {
        // Beside the other window: our left on its right, our right on its left; and the
        // top and bottom edges in line with its own.
        bool overlapsY = r.top < other->bottom && other->top < r.bottom;
        bool overlapsX = r.left < other->right && other->left < r.right;
        if (!sx && overlapsY) sx = snapX(other->right, true) || snapX(other->left, false);
        if (!sy && overlapsX) sy = snapY(other->bottom, true) || snapY(other->top, false);
        if (!sy && sx) sy = snapY(other->top, true) || snapY(other->bottom, false);
    }
    return r;
}

bool touches(const Rect& a, const Rect& b) {
    auto near = [](int x, int y) { return std::abs(x - y) <= 2; };
    const bool overlapX = a.left < b.right && b.left < a.right;
    const bool overlapY = a.top < b.bottom && b.top < a.bottom;
    return (overlapY && (near(a.right, b.left) || near(b.right, a.left))) ||
           (overlapX && (near(a.bottom, b.top) || near(b.bottom, a.top)));
}

int panScanLess(int value) { return value > 0 ? value - 2 : value; }
int panScanMore(int value) { return value < 50 ? value + 2 : value; }

}  // namespace orvalis::geometry
