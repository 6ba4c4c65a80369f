#pragma once

#include <array>
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

}  // namespace orvalis
