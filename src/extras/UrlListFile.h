#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// "URL.txt": named stream addresses, one "name=address" line each.
namespace orvalis {

struct StreamEntry {
    std::string name;
    std::string url;

    bool operator==(const StreamEntry&) const = default;
};

// More entries than anyone keeps by hand; a list file beyond it is read up to it.
inline constexpr std::size_t kMaxStreamEntries = 100000;
// A larger file is refused as one that cannot be opened.
inline constexpr std::size_t kMaxUrlFileBytes = std::size_t(64) << 20;

// The first line of a list whose fields are escaped (see formatUrlList). It holds no "=",
// so a plain list can never begin with it and still hold an entry.
inline constexpr std::string_view kEscapedUrlListMark = "#Orvalis URL list; %XX escapes";

// Reads entries from the file's bytes, decoded by the text rule. Each line is trimmed;
// the first line without "=" ends the list; the name is what stands before the last "="
// and the address what follows it. A line is one entry however long it is. After the
// escaped list's first line, "%XX" in both fields stands for the byte XX.
std::vector<StreamEntry> parseUrlList(std::string_view bytes);
// "name=address\n" per entry, UTF-8. When a field would not read back as it is (an "="
// in an address, a line break, blanks the trimming would eat), the list is written
// escaped instead: the mark line first, then every "%", "=", control character and
// blank at a field's end as "%XX", so that every line holds exactly one "=".
std::string formatUrlList(const std::vector<StreamEntry>& entries);

// Nothing when the file cannot be read (missing, a folder, unreadable, too large).
std::optional<std::vector<StreamEntry>> readUrlFile(const std::string& path);
// Replaces the file in one step; false (old file kept) when it cannot be written.
bool writeUrlFile(const std::string& path, const std::vector<StreamEntry>& entries);

// URL.txt in the player's data folder.
std::string defaultUrlFilePath();

}  // namespace orvalis
