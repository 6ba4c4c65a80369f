#pragma once

#include <string>
#include <string_view>
#include <vector>

// The program's desktop entry, as packaging/orvalis.desktop.in gives it (compiled in). The
// installed entry and the one the file-association page writes are both made from it, with
// the program's own path in TryExec and Exec, so the two always agree.
namespace orvalis::desktop {

inline constexpr const char* kEntryGroup = "Desktop Entry";

std::string_view entryTemplate();
// Its MimeType list: every type the player opens, in the entry's order.
const std::vector<std::string>& supportedMimeTypes();

}  // namespace orvalis::desktop
