#pragma once

#include <optional>
#include <string>
#include <string_view>

// Where a captured frame goes: "<folder>/<medium's name without its extension>_NNN.bmp",
// numbered after the highest capture of that medium already in the folder.
namespace orvalis::capture {

// The folder: beside the medium when pathChoice is 0, else imageFolder, and the user's
// Pictures folder when that is empty. Empty when there is none (an address has no folder).
std::string captureFolder(std::string_view mediaPath, int pathChoice, std::string_view imageFolder,
                          std::string_view picturesFolder);

// folder + "/" + the medium's name without its last extension; no second "/" after a
// folder that already ends in one (the root, "/media/usb/"). Empty without a folder.
std::string captureBase(std::string_view folder, std::string_view mediaPath);

// "_000.bmp" … "_999.bmp", then "_1000.bmp" and on.
std::string captureSuffix(long long number);

// One more than the highest number of the files "<base>_<digits>.bmp" present (0 when
// there are none). The whole run of digits counts, so numbering goes on past 999;
// folders and names with anything but digits there are not captures.
long long nextCaptureNumber(const std::string& base);

enum class CreateResult { Written, Exists, Failed };

// Creates path with these bytes, never replacing a file that is there. A file that could
// not be written completely is removed again.
CreateResult createNewFile(const std::string& path, std::string_view bytes);

// Writes a capture under the next free number and returns its path; nothing when no file
// could be written (or base is empty). The bytes go whole into a hidden file of the folder
// first, which then gets the numbered name only where that name is free: a crash leaves no
// cut picture under a number, and no file is ever replaced.
std::optional<std::string> saveCapture(const std::string& base, std::string_view bytes);

}  // namespace orvalis::capture
