#pragma once

#include <optional>

#include "player/PlayerParts.h"
#include "ports/CaptionHost.h"

namespace orvalis {

// The player window's picture geometry and screen modes: the layout of the picture, zoom,
// aspect and pan-scan, full screen and maximised, the hidden main window, the window steps
// and the transport bar's place.
class ScreenModes {
public:
    explicit ScreenModes(PlayerParts& parts);

    // Lays the picture, the caption font and the transport bar out for the window as it is.
    void applyWindowRect(const geometry::Rect& rect);
    void relayout();
    // The seek track's colour: it tells whether the item repeats.
    int trackColour() const;
    // The picture size while nothing plays: the background image's, or the default.
    void determineIdleSize();
    void writeScreenRect(const geometry::Rect& r);

    void enterFullScreen(const std::optional<geometry::Rect>& normal = std::nullopt);
    void leaveFullScreen();
    void toggleFullScreen();
    void toggleMaximized();
    void toggleAlwaysOnTop();
    void toggleKeepAspect();
    // `code`: the zoom command, 2, 3, 4, 5 for 0.5, 1, 1.5, 2; nothing while Shift or Ctrl is held.
    void zoom(double factor, int code);
    void setAspect(geometry::AspectChoice choice);
    void panScanLess();
    void panScanMore();
    void panScanNone();
    void growOrShrink(bool grow);
    void hideMainWindow();
    void showMainWindow();
    void showTransportBar(bool shown);
    void minimize();
    void systemMaximize();
    void systemMinimized();

    CaptionFrame captionFrame() const;
    void applyCaptionSpace();

    // The user resizes the window: the proposed rectangle, corrected.
    geometry::Rect sizing(const geometry::Rect& proposed, geometry::SizingEdge edge);
    void sized();
    void moved();

    // Window drags snap, except while the window itself is being placed.
    bool snapping() const { return snapping_; }

private:
    void zoomTo(double factor);
    void showPanScan();

    PlayerParts& parts_;
    PlayerView& view_;
    TimerService& timers_;
    SettingsStore& store_;
    WindowSettings& settings_;
    CaptionStyle& caption_;
    WindowState& state_;
    bool snapping_ = true;  // window drags snap to the screen's edges and the playlist
};

}  // namespace orvalis
