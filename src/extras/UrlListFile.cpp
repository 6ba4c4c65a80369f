#include "extras/UrlListFile.h"

#include "app/AppPaths.h"
#include "app/AtomicFile.h"
#include "app/TextCodec.h"

namespace orvalis {

std::vector<StreamEntry> parseUrlList(std::string_view bytes) {
    const std::string text = text::decode(bytes);
    std::vector<StreamEntry> entries;
    std::string_view rest = text;
    while (!rest.empty() && entries.size() < kMaxStreamEntries) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        // The list was always read as C strings: a NUL ends the line's text.
        line = line.substr(0, line.find('\0'));
        line = text::trimWhitespace(line);
        const std::size_t eq = line.rfind('=');
        if (eq == std::string_view::npos) break;
        entries.push_back({std::string(line.substr(0, eq)), std::string(line.substr(eq + 1))});
    }
    return entries;
}

namespace {

void appendField(std::string& out, std::string_view field) {
    for (char c : field) out += c == '\n' ? ' ' : c;
}

}  // namespace

std::string formatUrlList(const std::vector<StreamEntry>& entries) {
    std::string out;
    for (const StreamEntry& e : entries) {
        appendField(out, e.name);
        out += '=';
        appendField(out, e.url);
        out += '\n';
    }
    return out;
}

std::optional<std::vector<StreamEntry>> readUrlFile(const std::string& path) {
    auto bytes = readWholeFile(path, kMaxUrlFileBytes);
    if (!bytes) return std::nullopt;
    return parseUrlList(*bytes);
}

bool writeUrlFile(const std::string& path, const std::vector<StreamEntry>& entries) {
    return writeFileAtomically(path, formatUrlList(entries));
}

std::string defaultUrlFilePath() {
    return paths::dataDir() + "/URL.txt";
}

}  // namespace orvalis
