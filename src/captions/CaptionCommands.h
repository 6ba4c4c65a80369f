#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

// The caption commands of the command line, which run without a window and without the
// running player:
//   --convert IN OUT [--class CLASS] [--encoding NAME]
//       reads a SAMI, SubRip or WebVTT file as the player does and writes it as SubRip,
//       WebVTT or SAMI (by OUT's extension), in UTF-8;
//   --caption-info FILE [--encoding NAME]
//       prints the encoding found, the format, and each language class with its number of
//       cues and the time of the first and the end of the last.
namespace orvalis {

// Nothing when the arguments (after the program's name) hold no caption command; else the
// command's exit status: 0 done, 1 a file could not be read or written, 2 a wrong command line.
std::optional<int> runCaptionCommand(const std::vector<std::string>& args, std::ostream& out,
                                     std::ostream& err);

}  // namespace orvalis
