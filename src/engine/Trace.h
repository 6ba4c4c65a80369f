#pragma once

#include <string_view>

namespace orvalis {

// Diagnostic line for developers on standard error: "FAILED(hr=0x%x) in <call>".
// Nothing of it ever reaches the user.
void traceFailure(unsigned hr, std::string_view call);

// Result codes used in the trace lines.
inline constexpr unsigned kFailGeneric = 0x80004005u;
inline constexpr unsigned kFailNotFound = 0x80070002u;
inline constexpr unsigned kFailUnsupported = 0x80040265u;

}  // namespace orvalis
