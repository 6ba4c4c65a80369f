#pragma once

#include <ostream>

#include "playlist/ColorScheme.h"

namespace orvalis {

// Failures show a scheme as its name and colours, not as raw bytes.
inline void PrintTo(const ColorScheme& s, std::ostream* os) {
    *os << '"' << s.name << "\" " << std::hex << s.backColor << ' ' << s.selectedColor << ' '
        << s.textColor << ' ' << s.textFocusedColor << std::dec;
}

}  // namespace orvalis
