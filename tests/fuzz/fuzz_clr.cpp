// The .clr reader on arbitrary bytes: never more than a hundred records, names always valid
// text, and whatever was read writes back into records of the fixed size with every name
// terminated inside its field.
#include "base/TextCodec.h"
#include "fuzz_common.h"
#include "playlist/ClrFile.h"

using namespace orvalis;
using fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto schemes = clr::decode(fuzz::bytesOf(data, size));
    check(schemes.size() == std::min<std::size_t>(size / clr::kRecordSize, clr::kMaxRecords));
    for (auto& s : schemes) {
        check(text::isValidUtf8(s.name));
        s.name = schemes::storableName(s.name);
    }
    const std::string written = clr::encode(schemes);
    check(written.size() == schemes.size() * clr::kRecordSize);
    const auto again = clr::decode(written);
    check(again.size() == schemes.size());
    for (std::size_t r = 0; r < schemes.size(); ++r) {
        check(written[r * clr::kRecordSize + clr::kNameBytes] == '\0');
        check(clr::nameBytes(schemes[r].name).size() <= clr::kNameBytes);
        check(again[r].backColor == schemes[r].backColor &&
              again[r].textFocusedColor == schemes[r].textFocusedColor);
    }
    return 0;
}
