// The mount table and media-pattern matching behind disc detection, and the playlist's own
// look at the table for files on discs: any bytes parse without a crash or a hang.
#include "fuzz_common.h"
#include "player/OpticalDrives.h"
#include "playlist/FileSystemView.h"

using namespace orvalis;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::bytesOf(data, size);
    for (const auto& m : optical::parseMounts(text)) (void)optical::isUnder(m.mountPoint, m.device);
    // The first line as a pattern list, the rest as a file name.
    const std::size_t eol = text.find('\n');
    const auto patterns = optical::splitPatterns(text.substr(0, eol));
    if (eol != std::string_view::npos) (void)optical::matchesAny(text.substr(eol + 1), patterns);
    static const std::string table = fuzz::privateDir() + "/mounts";
    fuzz::writeBytes(table, text);
    const LocalFileSystem files(table);
    (void)files.isOnOpticalDisc("/media/cdrom/VIDEO_TS/VTS_01_1.VOB");
    (void)files.isOnOpticalDisc("/");
    return 0;
}
