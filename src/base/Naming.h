#pragma once

#include <optional>
#include <string>
#include <string_view>

// Small shared helpers of the player: file names of paths and clock texts.
namespace orvalis {

// The text after the last "\" when that separator stands at index 1 or more, else after
// the last "/" by the same rule, else the whole text.
std::string_view fileNamePart(std::string_view path);
// The file name without its last extension.
std::string_view fileTitle(std::string_view path);

// "hh:mm:ss" of whole seconds, each field at least two digits (360000 s gives "100:00:00").
std::string clockText(long long seconds);
// Accepts exactly 8 characters with two colons.
std::optional<int> parseClockText(std::string_view text);

// A name with "://" after its first character is a network address, not a file.
bool isStreamAddress(std::string_view name);

}  // namespace orvalis
