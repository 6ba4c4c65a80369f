#pragma once

namespace orvalis {

class ShutdownPort {
public:
    virtual ~ShutdownPort() = default;
    virtual bool atEndOfMedium() const = 0;
    virtual void clearEndOfMedium() = 0;
    virtual void runShutdown() = 0;
    virtual void clockTick() = 0;
    // The scheduler's dialog (it disarms the previous schedule first).
    virtual void schedule() = 0;
};

}  // namespace orvalis
