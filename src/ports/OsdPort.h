#pragma once

#include <string>

#include "ports/Geometry.h"

namespace orvalis {

class OsdPort {
public:
    virtual ~OsdPort() = default;
    // Shows an adjustment message by the placement rule; 0 ms means 1500, negative stays.
    virtual void show(const std::string& text, int durationMs = 0) = 0;
    // A message at a screen point (the drag previews of the transport bar).
    virtual void showAt(const std::string& text, geometry::Point screen, int durationMs) = 0;
    virtual void hide() = 0;
};

}  // namespace orvalis
