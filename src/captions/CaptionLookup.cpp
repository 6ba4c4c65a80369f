#include "captions/CaptionLookup.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <system_error>
#include <tuple>

#include "base/Naming.h"
#include "base/SettingsKeys.h"
#include "base/SettingsStore.h"
#include "base/TextCodec.h"
#include "captions/CaptionLanguages.h"

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
    if (!settings::get(settings, keys::UseCaptionFolder)) return candidates;
    const std::string_view name = fileNamePart(mediaPath);
    const std::string_view title = name.substr(0, extensionStart(name));
    // Folders stand under the keys 0 .. Count - 1; only the keys that exist are read, so a
    // garbled Count costs nothing.
    const int count = settings::get(settings, keys::CaptionFolderCount);
    std::vector<int> indexes;
    for (const std::string& key : settings.keys(sections::CaptionFolders)) {
        int index = 0;
        auto [end, ec] = std::from_chars(key.data(), key.data() + key.size(), index);
        if (ec == std::errc() && end == key.data() + key.size() && index >= 0 && index < count &&
            settings::indexKey(index) == key)
            indexes.push_back(index);
    }
    std::sort(indexes.begin(), indexes.end());
    for (int i : indexes) {
        const std::string stored =
            settings.getString(sections::CaptionFolders, settings::indexKey(i));
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

std::optional<std::string> captionTagOf(std::string_view title, std::string_view fileName) {
    constexpr std::size_t kLongestTag = 32;
    if (title.empty() || fileName.size() <= title.size() + 1 ||
        fileName.substr(0, title.size()) != title || fileName[title.size()] != '.')
        return std::nullopt;
    std::string_view rest = fileName.substr(title.size() + 1);  // "ko.srt" or "smi"
    const std::size_t dot = rest.rfind('.');
    const std::string_view extension = dot == std::string_view::npos ? rest : rest.substr(dot + 1);
    const std::string lower = "." + text::toLowerAscii(extension);
    if (std::find(kCaptionSuffixes.begin(), kCaptionSuffixes.end(), lower) ==
        kCaptionSuffixes.end())
        return std::nullopt;
    if (dot == std::string_view::npos) return std::string();
    const std::string_view tag = rest.substr(0, dot);
    if (tag.empty() || tag.size() > kLongestTag || tag.find('.') != std::string_view::npos)
        return std::nullopt;
    return std::string(tag);
}

std::vector<CaptionFileChoice> captionFilesOf(std::string_view mediaPath,
                                              const SettingsStore& settings) {
    std::vector<CaptionFileChoice> files;
    if (isStreamAddress(mediaPath)) return files;
    const std::string_view name = fileNamePart(mediaPath);
    const std::string_view title = name.substr(0, extensionStart(name));
    // The folders in their order: the caption folders, then the medium's own.
    std::vector<std::string> folders;
    for (const std::string& candidate : captionFolderCandidates(mediaPath, settings, ""))
        folders.push_back(candidate.substr(0, candidate.size() - title.size()));
    folders.emplace_back(mediaPath.substr(0, mediaPath.size() - name.size()));

    struct Found {
        CaptionFileChoice choice;
        int rank, suffix, folder;
    };
    std::vector<Found> found;
    for (std::size_t f = 0; f < folders.size(); ++f) {
        std::error_code ec;
        const std::filesystem::path folder = folders[f].empty() ? "." : folders[f];
        std::filesystem::directory_iterator it(folder, ec), end;
        // A folder of many files is read only so far.
        for (int seen = 0; !ec && it != end && seen < 100000; it.increment(ec), ++seen) {
            const std::string fileName = it->path().filename().string();
            std::optional<std::string> tag = captionTagOf(title, fileName);
            if (!tag || !it->is_regular_file(ec)) continue;
            CaptionFileChoice choice{folders[f] + fileName, *tag, languageClassOfName(*tag)};
            const int rank = tag->empty()            ? 0
                             : choice.code == "KRCC" ? 1
                             : choice.code == "EGCC" ? 2
                                                     : 3;
            const std::string suffix = text::toLowerAscii(fileName.substr(fileName.rfind('.')));
            const int suffixRank = static_cast<int>(
                std::find(kCaptionSuffixes.begin(), kCaptionSuffixes.end(), suffix) -
                kCaptionSuffixes.begin());
            found.push_back({std::move(choice), rank, suffixRank, static_cast<int>(f)});
        }
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return std::tie(a.rank, a.suffix, a.folder, a.choice.path) <
               std::tie(b.rank, b.suffix, b.folder, b.choice.path);
    });
    // One folder given twice (a caption folder that is the medium's own) lists a file once.
    for (Found& f : found) {
        if (files.size() >= kMaxCaptionFiles) break;
        const bool listed =
            std::any_of(files.begin(), files.end(), [&](const CaptionFileChoice& c) {
                std::error_code ec;
                return std::filesystem::equivalent(c.path, f.choice.path, ec);
            });
        if (!listed) files.push_back(std::move(f.choice));
    }
    return files;
}

std::string besideCandidate(std::string_view mediaPath, std::string_view suffix) {
    const std::string_view name = fileNamePart(mediaPath);
    const std::size_t cut = mediaPath.size() - name.size() + extensionStart(name);
    std::string candidate(mediaPath.substr(0, cut));
    candidate.append(suffix);
    return candidate;
}

}  // namespace orvalis
