#pragma once

#include <string>
#include <string_view>
#include <vector>

// Where the caption file of a medium is looked for.
namespace orvalis {

class SettingsStore;

// The candidates in the caption folders ("Caption\Caption Folders", keys "0".."Count" - 1),
// in their order, each the folder and the medium's file name with ".smi" for its extension.
// Blank folders are skipped. None unless "Use Caption Folder" is on.
std::vector<std::string> captionFolderCandidates(std::string_view mediaPath,
                                                 const SettingsStore& settings);

// The caption file beside the medium: its path with ".smi" for the extension of its file
// name, or with ".smi" added when the file name has none.
std::string besideCandidate(std::string_view mediaPath);

}  // namespace orvalis
