#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace orvalis {

// Follows one load through libmpv's answers, which arrive in any order: the reply to
// "loadfile" names the playlist entry that is ours, while the entry's start, load and end
// events may come before that reply or after it, and events of entries replaced meanwhile
// come too. Plain C++: the backend feeds it libmpv's events and does what it answers.
class LoadTracker {
public:
    enum class Phase {
        Idle,            // nothing asked, or the load was answered
        Loading,         // waiting for libmpv to open the medium
        Probing,         // opened: the backend asks libmpv what it holds
        WaitingForSize,  // a picture is coming: waiting for its size
    };
    // What the backend does next.
    struct Step {
        enum class Kind { None, Probe, Finish, Fail, Ended };
        Kind kind = Kind::None;
        std::string reason;  // for Fail
        bool operator==(const Step&) const = default;
    };

    // A "loadfile" went out (a new load replaces any other); or the medium was unloaded.
    void begin();
    void cancel();

    // libmpv's reply to "loadfile": our entry, or the error that refused it.
    Step replied(std::optional<std::int64_t> entry, const std::string& error = {});
    // An entry started, loaded (the started one) or ended.
    void started(std::int64_t entry);
    Step loaded();
    // `error` empty: the entry ended normally (played out, or stopped: `stopped`).
    Step ended(std::int64_t entry, bool stopped, const std::string& error);

    // The probes are in: finish now, or wait for the picture's size first.
    Step probed(bool waitForSize);
    // The picture's size became known, or waiting for it took too long.
    Step sized();

    Phase phase() const { return phase_; }

private:
    Step enterProbing();

    Phase phase_ = Phase::Idle;
    std::int64_t entry_ = -1;    // ours, once the reply named it
    std::int64_t started_ = -1;  // the entry libmpv started last
    bool reported_ = false;      // the load was answered: a later end is the medium's end
    // What happened to entries before the reply said which one is ours: true loaded, false
    // failed (with its reason).
    std::map<std::int64_t, bool> early_;
    std::map<std::int64_t, std::string> earlyError_;
};

}  // namespace orvalis
