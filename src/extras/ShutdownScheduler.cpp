#include "extras/ShutdownScheduler.h"

#include <cstdio>
#include <utility>

#include "base/SettingsKeys.h"

namespace orvalis {

std::string shutdownAtTimeMessage(const LocalDateTime& t) {
    char buf[160];
    std::snprintf(buf, sizeof buf, "%d년 %d월 %d일 %d시 %d분 %d초에 자동으로 시스템이 종료됩니다!",
                  t.year, t.month, t.day, t.hour, t.minute, t.second);
    return buf;
}

std::string shutdownPassedMessage(const LocalDateTime& t) {
    char buf[200];
    std::snprintf(buf, sizeof buf,
                  "%d년 %d월 %d일 %d시 %d분 %d초는 이미 지난 시각입니다. 시스템종료를 예약하지 "
                  "않았습니다.",
                  t.year, t.month, t.day, t.hour, t.minute, t.second);
    return buf;
}

std::string shutdownAfterDelayMessage(int delayIndex) {
    return std::string(kShutdownDelays.at(std::size_t(delayIndex)).label) +
           " 후에 자동으로 시스템이 종료됩니다!";
}

ShutdownScheduler::Clock orSystemClock(ShutdownScheduler::Clock clock) {
    if (clock) return clock;
    return [] { return std::time(nullptr); };
}

ShutdownScheduler::ShutdownScheduler(ShutdownHost& host, PowerControl& power,
                                     const SettingsStore& store, Clock clock)
    : host_(host), power_(power), store_(store), clock_(orSystemClock(std::move(clock))) {}

void ShutdownScheduler::schedule(const RunDialog& runDialog) {
    disarm();
    arm(runDialog());
}

void ShutdownScheduler::disarm() {
    host_.stopShutdownTimer();
    host_.hideMessage();
    atEnd_ = false;
    mode_ = ShutdownMode::None;
}

void ShutdownScheduler::arm(const std::optional<ShutdownChoice>& choice) {
    if (done_) return;
    disarm();
    if (!choice || choice->mode == ShutdownMode::None) {
        announce(shutdown_text::kOffMessage);
        return;
    }
    mode_ = choice->mode;
    switch (mode_) {
        case ShutdownMode::AtEnd:
            atEnd_ = true;
            announce(shutdown_text::kAtEndMessage);
            break;
        case ShutdownMode::AtTime:
            target_ = toTimeT(choice->target);
            // A moment already gone never comes (a stored date from an earlier day with a
            // new time): nothing is armed, and the user is told so rather than promised a
            // shutdown that will not happen.
            if (target_ == std::time_t(-1) || target_ < clock_()) {
                mode_ = ShutdownMode::None;
                announce(shutdownPassedMessage(choice->target));
                break;
            }
            host_.startShutdownTimer(kShutdownClockMs);
            announce(shutdownAtTimeMessage(choice->target));
            break;
        case ShutdownMode::AfterDelay: {
            const int index =
                choice->delayIndex >= 0 && choice->delayIndex < int(kShutdownDelays.size())
                    ? choice->delayIndex
                    : kDefaultDelayIndex;
            host_.startShutdownTimer(kShutdownDelays[std::size_t(index)].seconds * 1000);
            announce(shutdownAfterDelayMessage(index));
            break;
        }
        case ShutdownMode::None:
            break;
    }
}

void ShutdownScheduler::announce(const std::string& text) {
    if (!settings::get(store_, keys::ShowTooltipAll)) return;
    host_.showMessage(text, kShutdownMessageMs);
}

void ShutdownScheduler::onTimer() {
    switch (mode_) {
        case ShutdownMode::AtTime:
            // At or after the target, not only at it: a busy machine or a sleeping laptop
            // may let the one-second clock pass over the very second.
            if (clock_() >= target_) shutdownNow();
            break;
        case ShutdownMode::AfterDelay:
            shutdownNow();
            break;
        default:
            break;
    }
}

bool ShutdownScheduler::onMediumEnd() {
    if (!atEnd_) return false;
    shutdownNow();
    return true;
}

void ShutdownScheduler::shutdownNow() {
    if (done_) return;
    // Closing and exiting may run events of their own; a late tick must not start a second
    // shutdown.
    done_ = true;
    host_.stopShutdownTimer();
    mode_ = ShutdownMode::None;
    atEnd_ = false;
    host_.closeMedium();
    host_.exitProgram();
    power_.powerOff();
}

}  // namespace orvalis
