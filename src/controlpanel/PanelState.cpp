#include "controlpanel/PanelState.h"

#include <algorithm>
#include <cmath>

#include "base/Naming.h"

namespace orvalis::panel {

std::string repeatRangeTip(double start, double end) {
    std::string text = clockText(wholeSeconds(start)) + " ~ " + clockText(wholeSeconds(end));
    if (text == "00:00:00 ~ 00:00:00") return "반복 구간 설정";
    return text;
}

int sliderFromPicture(int value, int defaultValue, int maxValue) {
    return (pictureToMpv(value, defaultValue, maxValue) + 100) / 2;
}

int pictureFromSlider(int position, int defaultValue, int maxValue) {
    const int p = std::clamp(position, 0, 100);
    double value;
    if (p <= 50) {
        value = defaultValue * (p / 50.0);
    } else {
        value = defaultValue + (maxValue - defaultValue) * ((p - 50) / 50.0);
    }
    return std::clamp(static_cast<int>(std::lround(value)), 0, maxValue);
}

void PanelState::setDuration(double seconds) {
    time_.setDuration(seconds);
    duration_ = time_.loaded() ? seconds : 0;
    trackMax_ = time_.loaded() ? tenths(seconds) : 0;
    trackPosition_ = std::min(trackPosition_, trackMax_);
    pauseStopEnabled_ = time_.loaded();
    // A new length: the repeat bar starts out empty.
    setRepeatRange(0, 0);
}

bool PanelState::setPosition(double seconds) {
    trackPosition_ = std::min(tenths(seconds), trackMax_);
    return time_.setPosition(seconds);
}

void PanelState::showPlaying() {
    play_ = Play::Playing;
    pauseStopEnabled_ = true;
}

void PanelState::showPaused() {
    play_ = Play::Paused;
    pauseStopEnabled_ = true;
}

void PanelState::showStopped() {
    play_ = Play::Stopped;
    pauseStopEnabled_ = true;
}

void PanelState::disableButtons() {
    play_ = Play::Idle;
    pauseStopEnabled_ = false;
}

void PanelState::setRepeatRange(double start, double end) {
    repeatStart_ = std::isfinite(start) ? std::max(0.0, start) : 0;
    repeatEnd_ = std::isfinite(end) ? std::max(0.0, end) : 0;
    repeatTip_ = repeatRangeTip(repeatStart_, repeatEnd_);
}

void PanelState::setBookmarks(std::vector<int> seconds) {
    bookmarks_.clear();
    for (int s : seconds)
        if (s >= 0) bookmarks_.push_back(tenths(s));
}

void PanelState::setShowFrameNumber(bool on) {
    if (on) {
        time_.setMode(TimeMode::Count);
    } else if (time_.mode() == TimeMode::Count) {
        time_.setMode(TimeMode::Total);
    }
}

void PanelState::setPicture(const PictureControls& picture) {
    picture_ = picture;
}

int PanelState::pictureSlider(PictureKind kind) const {
    return sliderFromPicture(picture_.value(kind), picture_.defaultValue(kind),
                             PictureControls::maxValue(kind));
}

int PanelState::pictureValue(PictureKind kind, int position) const {
    return pictureFromSlider(position, picture_.defaultValue(kind),
                             PictureControls::maxValue(kind));
}

ButtonLook PanelState::look(PanelItem part) const {
    const bool loaded = captions_.loaded;
    switch (part) {
        case PanelItem::Track:
            return {trackEnabled(), false};
        case PanelItem::Play:
            return {true, play_ == Play::Playing};
        // Stopped leaves nothing to pause.
        case PanelItem::Pause:
            return {pauseStopEnabled_ && play_ != Play::Stopped, play_ == Play::Paused};
        case PanelItem::Stop:
            return {pauseStopEnabled_, play_ == Play::Stopped};
        case PanelItem::Mute:
            return {true, muted_};
        case PanelItem::Smoothing:
            return {loaded && !captions_.border, captions_.smoothing};
        case PanelItem::Bold:
            return {loaded, captions_.bold};
        case PanelItem::Border:
            return {loaded, captions_.border};
        case PanelItem::ShowCaptions:
            return {loaded, captions_.shown};
        case PanelItem::CaptionLarger:
        case PanelItem::CaptionSmaller:
        case PanelItem::CaptionUp:
        case PanelItem::CaptionDown:
            return {loaded, false};
        case PanelItem::CaptionLanguage:
            return {loaded && captions_.languages > 1, false};
        default:
            return {true, false};
    }
}

}  // namespace orvalis::panel
