#pragma once

#include <optional>
#include <string>

#include "ports/Commands.h"

namespace orvalis {

class SettingsStore;

// Config "Interval" and "IntervalCtrl": the plain and the large jump. A value up to 10000
// is seconds; above 10000 it is a fine jog of (value - 10000) milliseconds.
struct JumpSettings {
    int interval = 10;
    int intervalCtrl = 30;

    static JumpSettings read(const SettingsStore& settings);
};

// The step of a setting in seconds; a negative setting moves nothing.
double jumpStepSeconds(int setting);

// The step as the jump items' labels show it: "10" for ten seconds, "0.3" for a jog of
// 300 milliseconds.
std::string jumpStepText(int setting);

// Where the player stands, for the commands that move it.
struct Playhead {
    bool loaded = false;
    double position = 0.0;     // seconds; negative when not known yet
    double duration = 0.0;     // 0 when unknown (a live stream)
    double repeatStart = 0.0;  // A of the repeat range
};

// Where a position command lands, or nothing when nothing is loaded or the command does
// not move the position:
//   jumps back and forward (and their large twins): back stops at 0, forward at the
//     duration (no limit while the duration is unknown);
//   go to the start: 0; go to the repeat start: A; go to the end: three seconds before it.
std::optional<double> seekTarget(CommandId command, const Playhead& playhead,
                                 const JumpSettings& settings);

}  // namespace orvalis
