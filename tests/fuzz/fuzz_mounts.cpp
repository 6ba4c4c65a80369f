// The mount table and media-pattern matching behind disc detection, and the playlist's own
// look at the table for files on discs: any bytes parse without a crash or a hang.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_files.h"
#include "player/OpticalDrives.h"
#include "playlist/FileSystemView.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    auto mounts = orvalis::optical::parseMounts(text);
    for (const auto& m : mounts) {
        (void)orvalis::optical::isUnder(m.mountPoint, m.device);
    }
    // The first line as a pattern list, the rest as a file name.
    std::size_t eol = text.find('\n');
    auto patterns = orvalis::optical::splitPatterns(text.substr(0, eol));
    if (eol != std::string_view::npos) {
        (void)orvalis::optical::matchesAny(text.substr(eol + 1), patterns);
    }
    static const std::string table = orvalis::fuzz::privateDir() + "/mounts";
    orvalis::fuzz::writeBytes(table, text);
    const orvalis::LocalFileSystem files(table);
    (void)files.isOnOpticalDisc("/media/cdrom/VIDEO_TS/VTS_01_1.VOB");
    (void)files.isOnOpticalDisc("/");
    return 0;
}
