// Every list-file reader over the same bytes. A reader may skip anything, but what it
// gives must be a path the rest of the player can hold: UTF-8 text with no control
// characters and never empty.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/TextCodec.h"
#include "playlist/ListFiles.h"

namespace {

void check(const std::vector<orvalis::listfiles::ListEntry>& entries) {
    for (const auto& e : entries) {
        if (e.path.empty() || e.displayName.empty() || !orvalis::text::isValidUtf8(e.path))
            __builtin_trap();
        for (char c : e.path)
            if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F) __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orvalis::listfiles;
    std::string text =
        orvalis::text::decode(std::string_view(reinterpret_cast<const char*>(data), size));
    check(readM3u(text, "/lists"));
    check(readPls(text, "/lists"));
    check(readAsx(text, "/lists"));
    return 0;
}
