#pragma once

#include <ctime>
#include <functional>
#include <optional>
#include <string>

#include "base/SettingsStore.h"
#include "extras/PowerControl.h"
#include "extras/ShutdownDialogModel.h"

namespace orvalis {

namespace shutdown_text {
inline constexpr const char* kOffMessage = "시스템종료 예약 기능을 사용하지 않습니다.";
inline constexpr const char* kAtEndMessage =
    "현재 미디어 재생이 끝나면 자동으로 시스템이 종료됩니다!";
}  // namespace shutdown_text

// "2024년 3월 9일 23시 0분 5초에 자동으로 시스템이 종료됩니다!"
std::string shutdownAtTimeMessage(const LocalDateTime& target);
// "2024년 3월 9일 23시 0분 5초는 이미 지난 시각입니다. 시스템종료를 예약하지 않았습니다."
std::string shutdownPassedMessage(const LocalDateTime& target);
// "2시간 후에 자동으로 시스템이 종료됩니다!"
std::string shutdownAfterDelayMessage(int delayIndex);

inline constexpr int kShutdownMessageMs = 4000;
inline constexpr int kShutdownClockMs = 1000;

// What the scheduler needs of the player window.
class ShutdownHost {
public:
    virtual ~ShutdownHost() = default;
    // The scheduled-shutdown timer: repeats every period until stopped.
    virtual void startShutdownTimer(int milliseconds) = 0;
    virtual void stopShutdownTimer() = 0;
    // The on-screen message at its usual place.
    virtual void showMessage(const std::string& text, int milliseconds) = 0;
    virtual void hideMessage() = 0;
    // The close-file command, which saves the medium's bookmarks.
    virtual void closeMedium() = 0;
    // The Exit command, which saves the settings and ends the program.
    virtual void exitProgram() = 0;
};

// Switches the machine off when the current medium ends, at a chosen second, or after a
// chosen delay. A schedule lives in memory only; opening the dialog disarms it first.
class ShutdownScheduler {
public:
    // Seconds since 1970, as the system clock tells them.
    using Clock = std::function<std::time_t()>;
    // Runs the dialog; nothing when it was closed with "예약 해제" or Escape.
    using RunDialog = std::function<std::optional<ShutdownChoice>()>;

    // Without a clock, the system's.
    ShutdownScheduler(ShutdownHost& host, PowerControl& power, const SettingsStore& store,
                      Clock clock = {});

    // The sleep-timer command: disarm, run the dialog, arm what it chose.
    void schedule(const RunDialog& runDialog);
    void disarm();
    void arm(const std::optional<ShutdownChoice>& choice);

    // The scheduled-shutdown timer's tick.
    void onTimer();
    // The playback tick reached the end of the medium. True when the shutdown ran and the
    // usual end handling (next item, stop) must not.
    bool onMediumEnd();
    // A newly opened medium starts playing: the end-of-medium schedule belonged to the last.
    void onPlaybackStarted() { atEnd_ = false; }

    // Closes the medium, ends the program, then asks for the power-off. Runs once.
    void shutdownNow();

    ShutdownMode mode() const { return mode_; }
    bool atEnd() const { return atEnd_; }
    std::time_t target() const { return target_; }
    bool hasShutDown() const { return done_; }

private:
    void announce(const std::string& text);

    ShutdownHost& host_;
    PowerControl& power_;
    const SettingsStore& store_;
    Clock clock_;
    ShutdownMode mode_ = ShutdownMode::None;
    bool atEnd_ = false;
    std::time_t target_ = 0;
    bool done_ = false;
};

// The given clock, or the system's when none is given.
ShutdownScheduler::Clock orSystemClock(ShutdownScheduler::Clock clock);

}  // namespace orvalis
