#pragma once

#include "player/PlayerParts.h"
#include "player/ScreenModes.h"

namespace orvalis {

// The pointer over the player window: the transport bar shown in its band and hidden when
// the pointer leaves, the pointer hidden in full screen, clicks that pause, window drags,
// and the bar held while the user drags on it.
class PointerInput {
public:
    PointerInput(PlayerParts& parts, ScreenModes& screen);

    // Window events, in client coordinates of the window.
    enum class PointerAction { None, StartDrag };
    PointerAction pointerMoved(geometry::Point client);
    // The border zone to resize from (1..8), or 0 for a window drag.
    int leftButtonDown(geometry::Point client, int screenX, bool activating);
    // A click that neither dragged nor activated pauses or resumes.
    void leftButtonUp(int screenX);
    void contextMenuOpened();
    void contextMenuClosed();
    void dragTo(geometry::Point topLeft);

    // The transport bar while the user works on it: it stays until let go.
    void seekPreview(int tenths, bool dragging);
    void seekPreviewEnded();
    void holdBar(bool held);

    // The timers' steps: the pointer hides in full screen, the bar when the pointer leaves.
    void pointerHideTick();
    void barAutoHideTick();

private:
    PlayerParts& parts_;
    ScreenModes& screen_;
    PlayerView& view_;
    TimerService& timers_;
    WindowState& state_;
};

}  // namespace orvalis
