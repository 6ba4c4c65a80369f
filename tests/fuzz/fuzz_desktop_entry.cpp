// The program's desktop entry on any bytes, as the association page reads and rewrites it:
// the boxes read all checked or all clear, and the entry written over it is a key file that
// starts this program, keeps nothing that breaks it and reads back as ours.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/AtomicFile.h"
#include "base/IniDocument.h"
#include "fuzz_files.h"
#include "settings/FileAssociations.h"

using namespace orvalis;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view entry(reinterpret_cast<const char*>(data), size);
    const std::string dir = fuzz::privateDir();
    const std::string program = "/opt/orvalis/orvalis";
    const DesktopAssociations desktop({dir + "/config", dir + "/data", program, {}}, {});
    static const bool folders =
        makeDirectories(dir + "/config") && makeDirectories(dir + "/data/applications");
    if (!folders) std::abort();
    ::unlink(desktop.mimeappsPath().c_str());
    fuzz::writeBytes(desktop.desktopEntryPath(), entry);

    ExtensionStates all{};
    all.fill(true);
    const ExtensionStates before = desktop.read();
    for (std::size_t i = 1; i < before.size(); ++i)
        if (before[i] != before[0] && !associatedExtensions()[i].mimeTypes.empty() &&
            !associatedExtensions()[0].mimeTypes.empty())
            std::abort();

    const std::string text = desktopEntryText(program, entry);
    if (!isWellFormedKeyFile(text)) std::abort();
    const IniDocument doc = IniDocument::parse(text, {.quoteValues = false});
    const std::string* exec = doc.find("Desktop Entry", "Exec");
    if (!exec || execProgram(*exec) != program) std::abort();

    if (!desktop.apply(all).ok) std::abort();
    const ExtensionStates after = desktop.read();
    for (std::size_t i = 0; i < after.size(); ++i)
        if (after[i] != !associatedExtensions()[i].mimeTypes.empty()) std::abort();
    return 0;
}
