// mimeapps.list on any bytes, as the association page reads and edits it. The first byte
// picks the boxes to apply. A list that is no key file is refused and left as it was; an
// edit that succeeds reads back as exactly the boxes whose every type was asked for.
#include <set>

#include "base/AtomicFile.h"
#include "fuzz_common.h"
#include "settings/FileAssociations.h"

using namespace orvalis;
using fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::string_view list = fuzz::bytesOf(data, size, 1);
    const std::string dir = fuzz::privateDir();
    const std::string program = "/opt/orvalis/orvalis";
    const DesktopAssociations desktop({dir + "/config", dir + "/data", program, {}}, {});
    static const bool entryWritten =
        writeFileAtomically(desktop.desktopEntryPath(), desktopEntryText(program)) &&
        makeDirectories(dir + "/config");
    check(entryWritten);
    fuzz::writeBytes(desktop.mimeappsPath(), list);

    (void)desktop.read();
    ExtensionStates asked{};
    std::set<std::string> wanted;
    const auto& table = associatedExtensions();
    for (std::size_t i = 0; i < asked.size(); ++i) {
        asked[i] = (data[0] >> (i % 8)) & 1;
        if (asked[i]) wanted.insert(table[i].mimeTypes.begin(), table[i].mimeTypes.end());
    }
    const AssociationOutcome outcome = desktop.apply(asked);
    check(isWellFormedKeyFile(list) || !outcome.ok);
    if (!outcome.ok) {
        check(readWholeFile(desktop.mimeappsPath()) == std::string(list));
        return 0;
    }
    const ExtensionStates after = desktop.read();
    for (std::size_t i = 0; i < after.size(); ++i) {
        bool all = !table[i].mimeTypes.empty();
        for (const auto& type : table[i].mimeTypes) all = all && wanted.count(type);
        check(after[i] == all);
    }
    return 0;
}
