#pragma once

#include <string>
#include <vector>

#include "controlpanel/PanelLayout.h"
#include "controlpanel/TimeDisplay.h"
#include "engine/Adjustments.h"
#include "ports/TransportPort.h"

// What the transport bar shows, and the rules that decide it, apart from any widget: the
// track's range and position, which buttons are pressed or disabled, the repeat range's
// tip, the caption controls and the picture sliders. The widget draws this state; the
// player window changes it through the bar's port.
namespace orvalis::panel {

struct ButtonLook {
    bool enabled = true;
    bool lit = false;  // pressed in (the play state) or checked (the caption toggles)
    bool operator==(const ButtonLook&) const = default;
};

// "반복 구간 설정" for an empty range, else "00:00:10 ~ 00:01:00".
std::string repeatRangeTip(double start, double end);

// The picture sliders run 0..100 with the value read at open in the middle, so that both
// halves of the slider reach the ends of the player's range.
int sliderFromPicture(int value, int defaultValue, int maxValue);
int pictureFromSlider(int position, int defaultValue, int maxValue);

class PanelState {
public:
    void setDuration(double seconds);
    // True when a text of the time display changed.
    bool setPosition(double seconds);
    void showPlaying();
    void showPaused();
    void showStopped();
    void disableButtons();
    void setRepeatRange(double start, double end);
    void setCaptions(const CaptionButtons& captions) { captions_ = captions; }
    void setMuted(bool muted) { muted_ = muted; }
    void setBookmarks(std::vector<int> seconds);
    void setShowFrameNumber(bool on);
    bool cycleTimeDisplay() { return time_.cycle(); }
    void setPicture(const PictureControls& picture);
    // A picture slider moved: the player's value for it.
    int pictureValue(PictureKind kind, int position) const;

    const TimeDisplay& time() const { return time_; }
    double durationSeconds() const { return duration_; }
    int trackMax() const { return trackMax_; }
    int trackPosition() const { return trackPosition_; }
    bool trackEnabled() const { return trackMax_ > 0; }
    // The bookmarks as positions on the track, in tenths.
    const std::vector<int>& bookmarkTenths() const { return bookmarks_; }
    double repeatStart() const { return repeatStart_; }
    double repeatEnd() const { return repeatEnd_; }
    const std::string& repeatTip() const { return repeatTip_; }
    bool muted() const { return muted_; }
    const CaptionButtons& captions() const { return captions_; }
    // Slider position 0..100 of brightness or contrast.
    int pictureSlider(PictureKind kind) const;

    // The look of a button of the bar; parts that are not buttons are enabled and unlit.
    ButtonLook look(PanelItem part) const;

private:
    TimeDisplay time_;
    double duration_ = 0;
    int trackMax_ = 0;
    int trackPosition_ = 0;
    enum class Play { Idle, Playing, Paused, Stopped } play_ = Play::Idle;
    bool pauseStopEnabled_ = false;
    double repeatStart_ = 0;
    double repeatEnd_ = 0;
    std::string repeatTip_ = repeatRangeTip(0, 0);
    std::vector<int> bookmarks_;
    bool muted_ = false;
    CaptionButtons captions_;
    PictureControls picture_;
};

}  // namespace orvalis::panel
