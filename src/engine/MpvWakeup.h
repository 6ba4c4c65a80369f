#pragma once

#include <QPointer>
#include <atomic>

namespace orvalis {

class MpvBackend;

// What libmpv's callbacks reach from its own threads: the backend to wake on the Qt thread,
// and whether a wake-up is already on its way. One per handle, alive as long as libmpv may
// call back.
struct MpvWakeup {
    QPointer<MpvBackend> target;
    std::atomic<bool> eventsPending{false};
    std::atomic<bool> framePending{false};
};

}  // namespace orvalis
