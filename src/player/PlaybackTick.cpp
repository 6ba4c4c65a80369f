#include "player/PlaybackTick.h"

namespace orvalis {

TickDecision decideTick(const TickInput& in) {
    using Action = TickDecision::Action;
    if (!in.position) return {in.endReached ? Action::EndOfMedium : Action::Wait, 0.0};
    const double p = *in.position;
    const bool lengthKnown = in.duration > 0;
    const bool atEnd = in.endReached || (lengthKnown && p >= in.duration);

    if (in.skipEndSeconds > 0 && lengthKnown && in.duration - in.skipEndSeconds <= p)
        return {Action::EndOfMedium, 0.0};

    if (in.seekable) {
        const RepeatRange& r = in.range;
        if (!r.set) {
            if (in.repeat && atEnd) return {Action::SeekBack, 0.0};
        } else if (r.endSet) {
            // Just past B goes back to A; 2 s or more past B was reached by a seek and plays on.
            // A B beyond the medium's end is reached at the end.
            if ((p >= r.end && p - r.end < 2.0) || (atEnd && p < r.end))
                return {Action::SeekBack, r.start};
        } else if (atEnd) {
            return {Action::SeekBack, r.start};
        }
    }
    return {atEnd ? Action::EndOfMedium : Action::Play, 0.0};
}

bool RepeatSeekGuard::allow(double position) {
    observe(position);
    if (refused_ || pending_) return false;
    pending_ = true;
    from_ = position;
    waited_ = 0;
    return true;
}

void RepeatSeekGuard::observe(double position) {
    if (!pending_) return;
    if (position < from_) {
        pending_ = false;  // it landed
        return;
    }
    if (++waited_ >= kPatienceTicks) {
        pending_ = false;
        refused_ = true;
    }
}

}  // namespace orvalis
