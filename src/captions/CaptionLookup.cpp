#include "captions/CaptionLookup.h"

#include <algorithm>
#include <charconv>

#include "base/Naming.h"
#include "base/SettingsKeys.h"
#include "base/SettingsStore.h"
#include "base/TextCodec.h"

namespace orvalis {

namespace {

// The extension starts at the file name's last "."; a leading "." starts none.
std::size_t extensionStart(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos || dot == 0 ? name.size() : dot;
}

}  // namespace

std::vector<std::string> captionFolderCandidates(std::string_view mediaPath,
                                                 const SettingsStore& settings,
                                                 std::string_view suffix) {
    std::vector<std::string> candidates;
    if (settings.getInt(sections::Caption, "Use Caption Folder", 0) == 0) return candidates;
    const std::string_view name = fileNamePart(mediaPath);
    const std::string_view title = name.substr(0, extensionStart(name));
    // Folders stand under the keys 0 .. Count - 1; only the keys that exist are read, so a
    // garbled Count costs nothing.
    const int count = settings.getInt(sections::CaptionFolders, "Count", 0);
    std::vector<int> indexes;
    for (const std::string& key : settings.keys(sections::CaptionFolders)) {
        int index = 0;
        auto [end, ec] = std::from_chars(key.data(), key.data() + key.size(), index);
        if (ec == std::errc() && end == key.data() + key.size() && index >= 0 && index < count &&
            std::to_string(index) == key)
            indexes.push_back(index);
    }
    std::sort(indexes.begin(), indexes.end());
    for (int i : indexes) {
        const std::string stored =
            settings.getString(sections::CaptionFolders, std::to_string(i), "");
        const std::string_view folder = text::trimWhitespace(stored);
        if (folder.empty()) continue;
        std::string candidate(folder);
        if (candidate.back() != '/') candidate.push_back('/');
        candidate.append(title);
        candidate.append(suffix);
        candidates.push_back(std::move(candidate));
    }
    return candidates;
}

std::string besideCandidate(std::string_view mediaPath, std::string_view suffix) {
    const std::string_view name = fileNamePart(mediaPath);
    const std::size_t cut = mediaPath.size() - name.size() + extensionStart(name);
    std::string candidate(mediaPath.substr(0, cut));
    candidate.append(suffix);
    return candidate;
}

}  // namespace orvalis
