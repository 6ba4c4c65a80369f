// The URL.txt reader on any bytes: it must not crash, and what it reads must survive being
// written and read again.
#include "extras/UrlListFile.h"
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto entries = orvalis::parseUrlList(orvalis::fuzz::bytesOf(data, size));
    const std::string written = orvalis::formatUrlList(entries);
    // A name that begins with U+FEFF reads back as a byte-order mark: the one text that
    // cannot come back unchanged.
    if (written.rfind("\xEF\xBB\xBF", 0) != 0)
        orvalis::fuzz::check(orvalis::parseUrlList(written) == entries);
    return 0;
}
