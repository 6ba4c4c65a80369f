// The program's desktop entry on any bytes, as the association page reads and rewrites it:
// the boxes read all checked or all clear, and the entry written over it is a key file that
// starts this program, keeps nothing that breaks it and reads back as ours.
#include <unistd.h>

#include "base/AtomicFile.h"
#include "base/IniDocument.h"
#include "fuzz_common.h"
#include "settings/FileAssociations.h"

using namespace orvalis;
using fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view entry = fuzz::bytesOf(data, size);
    const std::string dir = fuzz::privateDir();
    const std::string program = "/opt/orvalis/orvalis";
    const DesktopAssociations desktop({dir + "/config", dir + "/data", program, {}}, {});
    static const bool folders =
        makeDirectories(dir + "/config") && makeDirectories(dir + "/data/applications");
    check(folders);
    ::unlink(desktop.mimeappsPath().c_str());
    fuzz::writeBytes(desktop.desktopEntryPath(), entry);

    const auto& table = associatedExtensions();
    const ExtensionStates before = desktop.read();
    for (std::size_t i = 1; i < before.size(); ++i)
        check(before[i] == before[0] || table[i].mimeTypes.empty() || table[0].mimeTypes.empty());

    const std::string text = desktopEntryText(program, entry);
    check(isWellFormedKeyFile(text));
    const std::string* exec =
        IniDocument::parse(text, {.quoteValues = false}).find("Desktop Entry", "Exec");
    check(exec && execProgram(*exec) == program);

    ExtensionStates all{};
    all.fill(true);
    check(desktop.apply(all).ok);
    const ExtensionStates after = desktop.read();
    for (std::size_t i = 0; i < after.size(); ++i) check(after[i] == !table[i].mimeTypes.empty());
    return 0;
}
