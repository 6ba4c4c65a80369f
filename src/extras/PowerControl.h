#pragma once

namespace orvalis {

// Asks the system to switch the machine off at once, without asking other programs to
// save. The call returns without waiting; a system that refuses is not reported: by then
// the player has already ended.
class PowerControl {
public:
    virtual ~PowerControl() = default;
    virtual void powerOff() = 0;
};

}  // namespace orvalis
