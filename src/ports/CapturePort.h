#pragma once

namespace orvalis {

// Saving the picture now shown.
class CapturePort {
public:
    virtual ~CapturePort() = default;
    virtual void capture() = 0;
};

}  // namespace orvalis
