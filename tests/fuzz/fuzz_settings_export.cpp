// The settings export file on any bytes, as the import reads it and the export rewrites it.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/TextCodec.h"
#include "settings/SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    orvalis::PageValues values({"/home/me/Pictures", "Linux"});
    orvalis::applySettingsFile(values, orvalis::ProfileReader(bytes));

    // Exporting the imported pages into the same file twice writes the same text: each key
    // lands in one place and nothing else in the file moves.
    std::string once = orvalis::settingsFileText(values, orvalis::text::decode(bytes));
    std::string twice = orvalis::settingsFileText(values, once);
    if (once != twice) std::abort();

    // Reading our own export gives the general page back. (Not every page: a folder list
    // can grow past the 254-character cut. Nor a value holding a carriage return, which
    // the file cannot hold, or a text that began with a second byte-order mark.)
    const std::string& folder = values.text("Config", "Default Folder");
    if (folder.find('\r') == std::string::npos && once.rfind("\xEF\xBB\xBF", 0) != 0) {
        orvalis::PageValues again({"/home/me/Pictures", "Linux"});
        orvalis::applySettingsFile(again, orvalis::ProfileReader(once));
        if (again.pageValues(orvalis::page::General) != values.pageValues(orvalis::page::General))
            std::abort();
    }
    return 0;
}
