// The settings export file on any bytes, as the import reads it and the export rewrites it.
#include "base/TextCodec.h"
#include "fuzz_common.h"
#include "settings/SettingsFile.h"

using namespace orvalis;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::bytesOf(data, size);
    PageValues values({"/home/me/Pictures", "Linux"});
    applySettingsFile(values, ProfileReader(bytes));

    // Exporting the imported pages into the same file twice writes the same text: each key
    // lands in one place and nothing else in the file moves.
    const std::string once = settingsFileText(values, text::decode(bytes));
    fuzz::check(settingsFileText(values, once) == once);

    // Reading our own export gives the general page back. (Not every page: a folder list
    // can grow past the 254-character cut. Nor a value holding a carriage return, which
    // the file cannot hold, or a text that began with a second byte-order mark.)
    if (values.text("Config", "Default Folder").find('\r') == std::string::npos &&
        once.rfind("\xEF\xBB\xBF", 0) != 0) {
        PageValues again({"/home/me/Pictures", "Linux"});
        applySettingsFile(again, ProfileReader(once));
        fuzz::check(again.pageValues(page::General) == values.pageValues(page::General));
    }
    return 0;
}
