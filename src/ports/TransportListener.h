#pragma once

#include "engine/Adjustments.h"

namespace orvalis {

// What the transport bar reports that is not a command of the command table: the drags on
// its track, repeat bar, volume wedge and picture sliders, and the time display's mode. The
// player window implements it; the bar's buttons reach the player as commands instead.
class TransportListener {
public:
    virtual ~TransportListener() = default;

    // The pointer is over the seek track (dragging: with the button down): show the
    // target, in tenths of a second, beside the pointer ("00:01:05", with Shift "65.4").
    virtual void seekPreview(int tenths, bool dragging) = 0;
    // The button went up over the track: seek to tenths x 0.1 seconds and give the bar the
    // position. seekPreviewEnded follows.
    virtual void seekCommit(int tenths) = 0;
    // The pointer left the track or let go of it: hide the preview, and let the bar's
    // auto-hide timer run again.
    virtual void seekPreviewEnded() = 0;

    // The repeat range dragged on the repeat bar, in seconds; the message shows it while
    // the drag lasts. The range is the player's to store and to give back to the bar.
    virtual void repeatRangeDragged(double start, double end) = 0;
    // The drag ended: hide the message, let the bar hide again.
    virtual void repeatRangeDragEnded() = 0;

    // The volume wedge set a step 0..19 (on press, every move and release), with the
    // volume message each time.
    virtual void volumeDragged(int step) = 0;

    // A picture slider moved: the value in the player's own range (brightness 0..10000,
    // contrast 0..20000) for PictureControls::set.
    virtual void pictureChanged(PictureKind kind, int value) = 0;

    // The user cycled the time display; the player keeps "Show Frame Number" from it.
    virtual void timeDisplayChanged(bool showsCount) = 0;

    // A drag on the bar began or ended: the bar must stay shown until it ends, wherever the
    // pointer goes (the player's bar hold).
    virtual void holdBar(bool held) = 0;
};

}  // namespace orvalis
