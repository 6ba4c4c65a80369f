// The URL.txt reader on any bytes: it must not crash, and what it reads must survive being
// written and read again.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "extras/UrlListFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto entries = orvalis::parseUrlList(bytes);
    const std::string written = orvalis::formatUrlList(entries);
    // A name that begins with U+FEFF reads back as a byte-order mark: the one text that
    // cannot come back unchanged.
    if (written.rfind("\xEF\xBB\xBF", 0) == 0) return 0;
    if (orvalis::parseUrlList(written) != entries) __builtin_trap();
    return 0;
}
