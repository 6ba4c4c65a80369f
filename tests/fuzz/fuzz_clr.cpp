// The .clr reader on arbitrary bytes: never more than a hundred records, names always valid
// text, and whatever was read writes back into records of the fixed size with every name
// terminated inside its field.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "base/TextCodec.h"
#include "playlist/ClrFile.h"

using namespace orvalis;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    auto schemes = clr::decode(bytes);
    std::size_t whole = size / clr::kRecordSize;
    if (schemes.size() != (whole < clr::kMaxRecords ? whole : clr::kMaxRecords)) std::abort();
    for (auto& s : schemes) {
        if (!text::isValidUtf8(s.name)) std::abort();
        s.name = schemes::storableName(s.name);
    }
    std::string written = clr::encode(schemes);
    if (written.size() != schemes.size() * clr::kRecordSize) std::abort();
    for (std::size_t r = 0; r < schemes.size(); ++r) {
        if (written[r * clr::kRecordSize + clr::kNameBytes] != '\0') std::abort();
        if (clr::nameBytes(schemes[r].name).size() > clr::kNameBytes) std::abort();
    }
    auto again = clr::decode(written);
    if (again.size() != schemes.size()) std::abort();
    for (std::size_t r = 0; r < schemes.size(); ++r) {
        if (again[r].backColor != schemes[r].backColor ||
            again[r].textFocusedColor != schemes[r].textFocusedColor)
            std::abort();
    }
    return 0;
}
