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

// Reads entries from the file's bytes, decoded by the text rule. Each line is trimmed;
// the first line without "=" ends the list; the name is what stands before the last "="
// and the address what follows it. A line is one entry however long it is.
std::vector<StreamEntry> parseUrlList(std::string_view bytes);
// "name=address\n" per entry, UTF-8. A line feed inside a field would start a false
// entry, so it is written as a blank.
std::string formatUrlList(const std::vector<StreamEntry>& entries);

// Nothing when the file cannot be read (missing, a folder, unreadable, too large).
std::optional<std::vector<StreamEntry>> readUrlFile(const std::string& path);
// Replaces the file in one step; false (old file kept) when it cannot be written.
bool writeUrlFile(const std::string& path, const std::vector<StreamEntry>& entries);

// URL.txt in the player's data folder.
std::string defaultUrlFilePath();

}  // namespace orvalis
