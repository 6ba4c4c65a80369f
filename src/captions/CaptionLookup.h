#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Where the caption file of a medium is looked for.
namespace orvalis {

class SettingsStore;

// The extensions of caption files in the order they are looked for: every SAMI name first
// (the caption folders, then beside the medium), then the SubRip names, then the WebVTT ones.
inline constexpr std::array<std::string_view, 3> kCaptionSuffixes{".smi", ".srt", ".vtt"};

// The candidates in the caption folders ("Caption\Caption Folders", keys "0".."Count" - 1),
// in their order, each the folder and the medium's file name with the suffix for its
// extension. Blank folders are skipped. None unless "Use Caption Folder" is on.
std::vector<std::string> captionFolderCandidates(std::string_view mediaPath,
                                                 const SettingsStore& settings,
                                                 std::string_view suffix = ".smi");

// The caption file beside the medium: its path with the suffix for the extension of its file
// name, or with the suffix added when the file name has none.
std::string besideCandidate(std::string_view mediaPath, std::string_view suffix = ".smi");

// A caption file of a medium, and the language its name gives.
struct CaptionFileChoice {
    std::string path;
    std::string tag;        // the word between title and extension ("ko", "Korean"); "" for none
    std::string_view code;  // "KRCC", "EGCC", "JPCC", "FRCC" for the tag; "" when unknown
    bool operator==(const CaptionFileChoice&) const = default;
};

// Whether a file name is a caption file of the medium's title: "<title>.smi" (no tag), or
// "<title>.<tag>.srt" with a tag of at most 32 bytes and no further dot; .smi, .srt and .vtt
// in any letter case. The tag, "" for none.
std::optional<std::string> captionTagOf(std::string_view title, std::string_view fileName);

// Every caption file of the medium in the caption folders (when they are used) and beside it:
// the untagged names first (in the order of kCaptionSuffixes, the caption folders before the
// medium's own), then the Korean ones, the English ones and the rest, each in the same order.
// At most kMaxCaptionFiles; none for a stream.
std::vector<CaptionFileChoice> captionFilesOf(std::string_view mediaPath,
                                              const SettingsStore& settings);
inline constexpr std::size_t kMaxCaptionFiles = 64;

}  // namespace orvalis
