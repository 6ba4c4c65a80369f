#pragma once

#include <string>
#include <vector>

#include "engine/Adjustments.h"
#include "ports/Geometry.h"

namespace orvalis {

// What the transport bar's caption controls show: whether captions are loaded, how many
// languages the file has, and the caption flags (smoothing is the "FontAlias" value).
struct CaptionButtons {
    bool loaded = false;
    int languages = 0;
    bool smoothing = false;
    bool bold = false;
    bool border = false;
    bool shown = true;
    bool operator==(const CaptionButtons&) const = default;
};

// The transport bar over the bottom of the window. It shows what it is given and reports
// what the user does; it holds no playback state of its own.
class TransportPort {
public:
    virtual ~TransportPort() = default;
    // Seconds; zero, negative or unknown (a stream) disables the track, Pause and Stop and
    // shows "00:00:00". Clears the repeat range.
    virtual void setDuration(double seconds) = 0;
    virtual void setPosition(double seconds) = 0;
    virtual void setTitle(const std::string& title) = 0;
    virtual void showPlaying() = 0;
    virtual void showPaused() = 0;
    virtual void showStopped() = 0;
    virtual void disableButtons() = 0;
    // The track's colour (a COLORREF): "Track Color2" while the item repeats, else
    // "Track Color1". Rereads "Use Gradient".
    virtual void setTrackColour(int colorref) = 0;
    virtual void updateRepeatRange(double a, double b) = 0;
    // Shows or hides the caption controls and sets their checks; run after every caption
    // command and whenever captions are loaded or dropped.
    virtual void refreshCaptionButtons(const CaptionButtons& captions) = 0;
    // The mute button's picture.
    virtual void showMuteState(bool muted) = 0;
    // The volume wedge's fill for a step 0..19.
    virtual void setVolumeStep(int step) = 0;
    // The bookmarks of the medium, in whole seconds, drawn as ticks on the track.
    virtual void setBookmarkMarks(const std::vector<int>& seconds) = 0;
    virtual void clearBookmarkMarks() = 0;
    // "Show Frame Number": the total-time text shows the count of seconds played.
    virtual void setShowFrameNumber(bool on) = 0;
    // The positions of the brightness and contrast sliders.
    virtual void setPictureValues(const PictureControls& picture) = 0;
    // Folds the row of picture sliders out, or back.
    virtual void toggleAdjustRow() = 0;
    // The bar's rectangle in screen coordinates, and whether it is shown.
    virtual void place(const geometry::Rect& rect, bool shown) = 0;
    virtual bool isShown() const = 0;
    // Rereads the bar's settings ("Config\Control") and lays it out again.
    virtual void refresh() = 0;
};

}  // namespace orvalis
