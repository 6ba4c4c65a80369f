// The settings file on any bytes: every key the store reads survives a put of another key
// unchanged, and the value put reads back.
#include <tuple>

#include "base/IniDocument.h"
#include "base/IniSettingsStore.h"
#include "base/TextCodec.h"
#include "fuzz_common.h"

using namespace orvalis;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::bytesOf(data, size);
    const std::string path = fuzz::privateDir() + "/Orvalis.conf";
    fuzz::writeBytes(path, bytes);
    std::remove(IniSettingsStore::listPathFor(path).c_str());  // left by the last input

    // The sections as the file names them; the store answers for each.
    std::vector<std::tuple<std::string, std::string, std::string>> before;
    IniSettingsStore store(path);
    for (const std::string& section : IniDocument::parse(text::decode(bytes)).sectionNames())
        for (const std::string& key : store.keys(section))
            before.emplace_back(section, key, store.getString(section, key, "\x01missing"));

    const std::string section = before.empty() ? "Config" : std::get<0>(before.front());
    const std::string value = text::decode(bytes.substr(size / 2, 24));
    store.putString(section, "Fuzz Key", value);
    if (!store.lastWriteSucceeded()) return 0;

    const IniSettingsStore again(path);
    fuzz::check(again.getString(section, "Fuzz Key") == value);
    for (const auto& [s, k, v] : before)
        if (foldAsciiCase(s) != foldAsciiCase(section) || foldAsciiCase(k) != "fuzz key")
            fuzz::check(again.getString(s, k, "\x01missing") == v);
    return 0;
}
