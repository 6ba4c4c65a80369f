#include "controlpanel/TimeDisplay.h"

#include <algorithm>
#include <cmath>

#include "base/Naming.h"

namespace orvalis::panel {

namespace {

// A track of tenths must fit an int: about six years.
constexpr double kMaxSeconds = 214748364.0;

double usable(double seconds) {
    if (!std::isfinite(seconds) || seconds <= 0) return 0;
    return std::min(seconds, kMaxSeconds);
}

}  // namespace

int wholeSeconds(double seconds) {
    return static_cast<int>(usable(seconds));
}

int tenths(double seconds) {
    return static_cast<int>(usable(seconds) * 10.0);
}

void TimeDisplay::setDuration(double seconds) {
    duration_ = wholeSeconds(seconds);
}

bool TimeDisplay::setPosition(double seconds) {
    const int second = wholeSeconds(seconds);
    if (second == lastWholeSecond_) return false;
    lastWholeSecond_ = second;
    return true;
}

bool TimeDisplay::cycle() {
    if (!loaded()) return false;
    mode_ = static_cast<TimeMode>((static_cast<int>(mode_) + 1) % 3);
    return true;
}

std::string TimeDisplay::currentText() const {
    return clockText(std::max(0, lastWholeSecond_));
}

std::string TimeDisplay::totalText() const {
    if (!loaded()) return clockText(0);
    const int played = std::max(0, lastWholeSecond_);
    switch (mode_) {
        case TimeMode::Remaining:
            return clockText(std::max(0, duration_ - played));
        case TimeMode::Count:
            return std::to_string(played);
        case TimeMode::Total:
            break;
    }
    return clockText(duration_);
}

std::string_view TimeDisplay::totalTip() const {
    switch (mode_) {
        case TimeMode::Remaining:
            return "남은 시간";
        case TimeMode::Count:
            return "프레임 수";
        case TimeMode::Total:
            break;
    }
    return "전체 재생 시간";
}

}  // namespace orvalis::panel
