#pragma once

#include <optional>

namespace orvalis {

// The A-B repeat range. Whether a range exists is a flag of its own, never read off the
// values: a medium's length may be unknown, may change while it plays, or may be 0.
struct RepeatRange {
    bool set = false;
    double start = 0.0;   // A, seconds
    bool endSet = false;  // B is a point of its own; otherwise the range ends with the medium
    double end = 0.0;     // B, seconds, when endSet

    // B as the transport bar and the messages show it.
    double endFor(double duration) const { return endSet ? end : (duration > 0 ? duration : 0.0); }
    void clear() { *this = {}; }
    // The flag follows the points: a range from the start to the end is no range.
    void settle() { set = start > 0 || endSet; }
};

// What one playback tick sees.
struct TickInput {
    std::optional<double> position;  // nothing while the backend does not know it
    double duration = 0.0;           // 0 or less: not known (yet), or a live stream
    bool endReached = false;         // the backend holds the medium at its end
    bool seekable = true;
    bool repeat = false;     // repeat of the current item
    int skipEndSeconds = 0;  // 0: the end is not skipped
    RepeatRange range;
};

struct TickDecision {
    enum class Action {
        Wait,         // nothing known yet
        Play,         // show the position and its caption
        SeekBack,     // repeat: go to `target` and keep playing
        EndOfMedium,  // play on, stop, or shut down
    };
    Action action = Action::Wait;
    double target = 0.0;
};

// The rules of the 100 ms playback tick: skip-end, repeat of the item, the A-B range and
// the end of the medium. Positions and lengths are compared only by order, and every rule
// that needs a length or a seek stays quiet where the medium has none.
TickDecision decideTick(const TickInput& in);

// Guards the tick against a seek that libmpv refuses or that does not land: a repeat seek
// is asked for once; until the position moves back, the tick asks for none again, and after
// `kPatienceTicks` ticks the medium is taken as one that cannot go back.
class RepeatSeekGuard {
public:
    static constexpr int kPatienceTicks = 20;

    void reset() { *this = {}; }
    // The tick wants to seek back from `position`: true when it may.
    bool allow(double position);
    // Every tick that does not seek reports its position here.
    void observe(double position);
    bool refused() const { return refused_; }

private:
    bool pending_ = false;
    bool refused_ = false;
    double from_ = 0.0;
    int waited_ = 0;
};

}  // namespace orvalis
