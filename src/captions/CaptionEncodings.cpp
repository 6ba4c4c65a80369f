#include "captions/CaptionEncodings.h"

#include <vector>

#include "base/AtomicFile.h"

namespace orvalis {

namespace {

// Far more than kMaxFiles lines of long paths; a larger file is not ours.
constexpr std::size_t kMaxStoreBytes = std::size_t(4) << 20;

struct Entry {
    text::Encoding encoding;
    std::string path;
};

std::vector<Entry> readEntries(const std::string& file) {
    std::vector<Entry> entries;
    const std::optional<std::string> bytes = readWholeFile(file, kMaxStoreBytes);
    if (!bytes) return entries;
    std::string_view rest = *bytes;
    while (!rest.empty() && entries.size() < CaptionEncodingStore::kMaxFiles) {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos || tab + 1 == line.size()) continue;
        if (std::optional<text::Encoding> e = text::encodingNamed(line.substr(0, tab)))
            entries.push_back({*e, std::string(line.substr(tab + 1))});
    }
    return entries;
}

}  // namespace

std::optional<text::Encoding> CaptionEncodingStore::encodingOf(
    const std::string& captionPath) const {
    for (const Entry& e : readEntries(file_))
        if (e.path == captionPath) return e.encoding;
    return std::nullopt;
}

bool CaptionEncodingStore::remember(const std::string& captionPath,
                                    std::optional<text::Encoding> encoding) {
    // A path with a line break could not be read back as one line.
    if (captionPath.empty() || captionPath.find_first_of("\r\n") != std::string::npos) return false;
    std::vector<Entry> entries = readEntries(file_);
    std::erase_if(entries, [&](const Entry& e) { return e.path == captionPath; });
    if (encoding) entries.insert(entries.begin(), {*encoding, captionPath});
    if (entries.size() > kMaxFiles) entries.resize(kMaxFiles);
    std::string out;
    for (const Entry& e : entries) {
        out += text::encodingName(e.encoding);
        out += '\t';
        out += e.path;
        out += '\n';
    }
    return writeFileAtomically(file_, out);
}

}  // namespace orvalis
