// Every list-file reader over the same bytes. A reader may skip anything, but what it
// gives must be a path the rest of the player can hold: UTF-8 text with no control
// characters and never empty.
#include "base/TextCodec.h"
#include "fuzz_common.h"
#include "playlist/ListFiles.h"

using namespace orvalis;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string decoded = text::decode(fuzz::bytesOf(data, size));
    for (const auto& entries :
         {listfiles::readM3u(decoded, "/lists"), listfiles::readPls(decoded, "/lists"),
          listfiles::readAsx(decoded, "/lists")})
        for (const auto& e : entries) {
            fuzz::check(!e.path.empty() && !e.displayName.empty() && text::isValidUtf8(e.path));
            for (char c : e.path)
                fuzz::check((static_cast<unsigned char>(c) >= 0x20 || c == '\t') && c != 0x7F);
        }
    return 0;
}
