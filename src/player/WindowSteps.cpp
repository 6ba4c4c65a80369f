#include "player/WindowSteps.h"

namespace orvalis {

std::optional<PixelRect> grownWindow(const PixelRect& w, int maxTrackWidth, int maxTrackHeight,
                                     bool fullScreen) {
    if (fullScreen) return std::nullopt;
    PixelRect r = w;
    if (w.width() >= maxTrackWidth) {
        r.left = 0;
        r.right = maxTrackWidth;
    } else {
        r.left -= 40;
        r.right += 40;
    }
    if (w.height() >= maxTrackHeight) {
        r.top = 0;
        r.bottom = maxTrackHeight;
    } else {
        r.top -= 30;
        r.bottom += 30;
    }
    return r;
}

std::optional<PixelRect> shrunkWindow(const PixelRect& w, bool fullScreen) {
    if (fullScreen) return std::nullopt;
    PixelRect r{w.left + 20, w.top + 15, w.right - 20, w.bottom - 15};
    if (r.width() < kMinWindowWidth) {
        r.left = w.left;
        r.right = w.left + kMinWindowWidth;
    }
    if (r.height() < kMinWindowHeight) {
        r.top = w.top;
        r.bottom = w.top + kMinWindowHeight;
    }
    return r;
}

}  // namespace orvalis
