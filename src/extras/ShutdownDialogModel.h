#pragma once

#include <array>
#include <string>

#include "base/SettingsKeys.h"
#include "base/SettingsStore.h"
#include "extras/LocalTime.h"

// The sleep timer's dialog as plain state: which boxes are checked and enabled, what the
// pickers and the delay list show, and what OK hands to the scheduler. The dialog widget
// only draws this and forwards the user's changes.
namespace orvalis {

enum class ShutdownMode { None = -1, AtEnd = 0, AtTime = 1, AfterDelay = 2 };

struct ShutdownDelay {
    const char* text;  // the line of the delay list
    int seconds;
    const char* label;  // how the armed message names it
};

inline constexpr std::array<ShutdownDelay, 8> kShutdownDelays{{
    {"10분 후", 600, "10분"},
    {"20분 후", 1200, "20분"},
    {"30분 후", 1800, "30분"},
    {"1시간 후", 3600, "1시간"},
    {"2시간 후", 7200, "2시간"},
    {"3시간 후", 10800, "3시간"},
    {"4시간 후", 14400, "4시간"},
    {"5시간 후", 18000, "5시간"},
}};
inline constexpr int kDefaultDelayIndex = keys::ShutdownLeftTime.def();

namespace shutdown_text {
inline constexpr const char* kTitle = "시스템 종료 예약기능";
inline constexpr const char* kAtEndBox = "현재 미디어 재생 종료후에 자동 종료";
inline constexpr const char* kAtTimeBox = "특정 시각";
inline constexpr const char* kAfterDelayBox = "남은 시각";
inline constexpr const char* kWarningForced = "정해진 선택에 따라서 시스템이 강제 종료됩니다.";
inline constexpr const char* kWarningDataLost = "따라서 저장하지 않은 데이터는 손실되게 됩니다.";
inline constexpr const char* kOkButton = "확인";
inline constexpr const char* kCancelButton = "예약 해제";
}  // namespace shutdown_text

// "시스템 종료 예약기능 (09시 05분 00초)": the dialog's title, renewed every second.
std::string shutdownDialogTitle(const LocalDateTime& now);

// What the dialog returns when closed with OK.
struct ShutdownChoice {
    ShutdownMode mode = ShutdownMode::None;
    LocalDateTime target;  // the date picker's date with the time picker's time
    int delayIndex = kDefaultDelayIndex;
};

class ShutdownDialogModel {
public:
    // Presets from Config\Shutdown: the stored date and time when they name a real moment,
    // else now; the stored delay when it is one of the list's, else the default.
    ShutdownDialogModel(const SettingsStore& store, const LocalDateTime& now, bool mediumLoaded);

    // The end-of-medium box only means something while a medium is loaded.
    bool isEnabled(ShutdownMode box) const;
    // Checking one box clears the other two; a disabled box cannot be checked.
    void setChecked(ShutdownMode box, bool checked);
    bool isChecked(ShutdownMode box) const { return box != ShutdownMode::None && checked_ == box; }
    ShutdownMode checkedBox() const { return checked_; }

    const LocalDateTime& picked() const { return picked_; }
    void setDate(int year, int month, int day);
    void setTime(int hour, int minute, int second);

    int delayIndex() const { return delayIndex_; }
    void setDelayIndex(int index);

    // OK: the choice, with the delay and the picked date and time written back as the next
    // presets (whatever the mode).
    ShutdownChoice accept(SettingsStore& store) const;

private:
    bool mediumLoaded_;
    ShutdownMode checked_ = ShutdownMode::None;
    LocalDateTime picked_;
    int delayIndex_ = kDefaultDelayIndex;
};

}  // namespace orvalis
