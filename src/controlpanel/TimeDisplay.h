#pragma once

#include <string>
#include <string_view>

// The two time texts of the transport bar. The upper one shows the current position; the
// lower one, by its mode, the total play time, the time remaining or the plain count of
// seconds played. A click on the lower text cycles the mode.
namespace orvalis::panel {

enum class TimeMode : int { Total = 0, Remaining = 1, Count = 2 };

// Seconds from the player made safe to count with: NaN, infinities and negatives give 0,
// and nothing beyond what a track of tenths can hold in an int.
int wholeSeconds(double seconds);
// Tenths of a second, truncated, with the same limits.
int tenths(double seconds);

class TimeDisplay {
public:
    static constexpr int kNoSecondYet = -100;

    // Zero, negative or unknown lengths (a stream) count as nothing loaded.
    void setDuration(double seconds);
    // True when the current-time text changed (a new whole second).
    bool setPosition(double seconds);
    // A click on the total-time text: advances the mode while a medium with a length is
    // loaded; false (and nothing changes) otherwise.
    bool cycle();
    // "Show Frame Number": the lower text starts out showing the count.
    void setMode(TimeMode mode) { mode_ = mode; }

    TimeMode mode() const { return mode_; }
    int durationSeconds() const { return duration_; }
    bool loaded() const { return duration_ != 0; }

    std::string currentText() const;
    std::string totalText() const;
    std::string_view totalTip() const;

private:
    int duration_ = 0;
    int lastWholeSecond_ = kNoSecondYet;
    TimeMode mode_ = TimeMode::Total;
};

}  // namespace orvalis::panel
