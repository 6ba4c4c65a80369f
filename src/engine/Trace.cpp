#include "engine/Trace.h"

#include <cstdio>
#include <string>

namespace orvalis {

void traceFailure(unsigned hr, std::string_view call) {
    std::string line = "FAILED(hr=0x";
    char hex[16];
    std::snprintf(hex, sizeof hex, "%x", hr);
    line += hex;
    line += ") in ";
    line += call;
    if (line.back() != '\n') line += '\n';
    std::fputs(line.c_str(), stderr);
}

}  // namespace orvalis
