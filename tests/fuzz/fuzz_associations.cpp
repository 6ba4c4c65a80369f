// The association page's files on any bytes, as it reads and rewrites them.
// fuzz_desktop_entry: the program's desktop entry. The boxes read all checked or all clear,
// and the entry written over it is a key file that starts this program and reads back as ours.
// fuzz_mimeapps: mimeapps.list, the first byte picking the boxes to apply. A list that is no
// key file is refused and left as it was; an edit that succeeds reads back as exactly the
// boxes whose every type was asked for.
#include <unistd.h>

#include <set>

#include "base/AtomicFile.h"
#include "base/IniDocument.h"
#include "fuzz_common.h"
#include "settings/FileAssociations.h"

using namespace orvalis;
using fuzz::check;

#if ORVALIS_FUZZ_MIMEAPPS
constexpr bool kMimeapps = true;
#else
constexpr bool kMimeapps = false;
#endif

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (kMimeapps && size < 1) return 0;
    const std::string dir = fuzz::privateDir();
    const std::string program = "/opt/orvalis/orvalis";
    const DesktopAssociations desktop({dir + "/config", dir + "/data", program, {}}, {});
    static const bool folders =
        makeDirectories(dir + "/config") && makeDirectories(dir + "/data/applications");
    check(folders);
    const auto& table = associatedExtensions();
    ExtensionStates asked{};
    std::set<std::string> wanted;
#if ORVALIS_FUZZ_MIMEAPPS
    const std::string_view list = fuzz::bytesOf(data, size, 1);
    static const bool entry =
        writeFileAtomically(desktop.desktopEntryPath(), desktopEntryText(program));
    check(entry);
    fuzz::writeBytes(desktop.mimeappsPath(), list);
    (void)desktop.read();
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
#else
    const std::string_view entry = fuzz::bytesOf(data, size);
    ::unlink(desktop.mimeappsPath().c_str());
    fuzz::writeBytes(desktop.desktopEntryPath(), entry);
    const ExtensionStates before = desktop.read();
    for (std::size_t i = 1; i < before.size(); ++i)
        check(before[i] == before[0] || table[i].mimeTypes.empty() || table[0].mimeTypes.empty());
    const std::string text = desktopEntryText(program, entry);
    check(isWellFormedKeyFile(text));
    const IniDocument doc = IniDocument::parse(text, {.quoteValues = false});
    const std::string* exec = doc.find("Desktop Entry", "Exec");
    check(exec && execProgram(*exec) == program);
    asked.fill(true);
    for (const auto& e : table) wanted.insert(e.mimeTypes.begin(), e.mimeTypes.end());
    check(desktop.apply(asked).ok);
#endif
    const ExtensionStates after = desktop.read();
    for (std::size_t i = 0; i < after.size(); ++i) {
        bool all = !table[i].mimeTypes.empty();
        for (const auto& type : table[i].mimeTypes) all = all && wanted.count(type);
        check(after[i] == all);
    }
    return 0;
}
