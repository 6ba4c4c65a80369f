// What a D-Bus client's OpenUri and a file URL turn into, for any text: no crash, and a
// local path that comes out always goes back to the same URL's path.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "player/Mpris.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)orvalis::mpris::openTargetOf(text);
    if (auto path = orvalis::mpris::localPathOf(text)) {
        if (path->empty() || path->front() != '/') __builtin_trap();
        if (orvalis::mpris::localPathOf(orvalis::mpris::fileUrl(*path)) != path) __builtin_trap();
    }
    return 0;
}
