#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/SettingsKeys.h"
#include "player/WindowSteps.h"

// The on-screen message: its texts, the switches that silence it, where it stands and how
// long it stays. The window shows one message at a time; a new one replaces the old at once.
namespace orvalis {

class SettingsStore;

namespace osd {

// The display switches in "Config", each read when its message is about to be shown. A
// switch at 0 silences only the message, never the adjustment.
enum class Switch {
    Speed,
    Volume,
    PanScan,
    CaptionSize,
    CaptionOffset,
    CaptionSynch,
    CaptionLanguage,
    CaptionSpace,
};

const settings::FlagKey& switchKey(Switch which);
bool switchOn(const SettingsStore& settings, Switch which);

// "재생 속도 : 1.0X", with two decimals below half speed ("재생 속도 : 0.25X").
std::string speedText(double rate);
// truncation(step x 100 / 19) for the volume steps 0..19.
int volumePercent(int step);
std::string volumeText(int step);
std::string panScanText(int percent);
// While the seek track is dragged: the time as "00:01:05", or with Shift "65.4" seconds.
std::string seekPreviewText(double seconds, bool shift);
// While the repeat range is dragged: "00:00:10 ~ 00:01:00", or with Shift the milliseconds
// "10000 ~ 60000".
std::string repeatRangeText(double startSeconds, double endSeconds, bool shift);

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

// Where an adjustment message stands (its text's lower left corner, in screen pixels).
struct Placement {
    PixelRect client;             // the window's client area in screen coordinates
    bool mainWindowShown = true;  // false while the window is hidden for audio
    bool barShown = false;        // the transport bar
    int barHeight = 60;
    Point cursor;
};
Point adjustmentAnchor(const Placement& placement);
// The seek preview stands beside the pointer.
Point seekPreviewAnchor(Point cursor);

inline constexpr int kDefaultDurationMs = 1500;

// What one Show asks of the message window.
struct Plan {
    bool visible = false;
    std::string text;
    Point at;  // where the window goes: one right of and two above the anchor
    // When the hide timer should fire; nothing means no timer at all (a running one is
    // stopped), so the message stays until it is replaced or hidden.
    std::optional<int> hideAfterMs;
};
// Empty text hides the message. A duration of 0 means 1500 ms; a negative one keeps the
// message until the next.
Plan plan(Point anchor, std::string text, int durationMs);

}  // namespace osd
}  // namespace orvalis
