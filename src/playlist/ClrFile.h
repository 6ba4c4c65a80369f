#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "playlist/ColorScheme.h"

// Colour-scheme files (".clr"): records of 72 bytes back to back, with no header, count or
// checksum. A record is the name (52 bytes, NUL-terminated), then BackColor, SelectedColor,
// TextColor and TextFocusedColor as 32-bit little-endian 0x00BBGGRR values, then 4 reserved
// bytes (written as zero, never read).
namespace orvalis::clr {

inline constexpr std::size_t kRecordSize = 72;
inline constexpr std::size_t kNameField = 52;
inline constexpr std::size_t kNameBytes = kNameField - 1;  // the NUL always fits
inline constexpr std::size_t kMaxRecords = 100;

// A name as a record holds it: CP949 when every character has a CP949 form (the files
// other copies of the player exchange), UTF-8 otherwise; at most kNameBytes bytes, cut
// before a character that would not fit whole.
std::string nameBytes(std::string_view name);

// One record's name: the bytes before the first NUL of its field, and never more than
// kNameBytes of them even when the field holds no NUL; decoded by the text rule.
std::string recordName(std::string_view field);

// The whole records at the start of bytes, at most kMaxRecords; a partial record at the
// end is ignored.
std::vector<ColorScheme> decode(std::string_view bytes);
std::string encode(const std::vector<ColorScheme>& schemes);

enum class ReadStatus { Ok, CannotOpen, NoRecord };
struct ReadResult {
    ReadStatus status = ReadStatus::CannotOpen;
    std::vector<ColorScheme> schemes;
};

// Reads no more than kMaxRecords records' worth of the file, however long it is. Anything
// but a regular file (a folder, a pipe) counts as one that cannot be opened.
ReadResult readFile(const std::string& path);
// Replaces the file in one step; false (and the old file kept) when that fails.
bool writeFile(const std::string& path, const std::vector<ColorScheme>& schemes);

}  // namespace orvalis::clr
