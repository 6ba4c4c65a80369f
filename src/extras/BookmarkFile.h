#pragma once

#include <string>
#include <string_view>
#include <vector>

// The bookmark file: one section per medium, "[full path]" followed by "bm0=hh:mm:ss"
// lines, the medium saved last first. These functions work on the file's bytes only;
// BookmarkStore does the reading and writing.
namespace orvalis::bookmarks {

inline constexpr int kMaxBookmarks = 50;

// True when bookmarks can be kept for this medium: a local path that fits on one line of
// the file (an address, or a name holding a line break, has none).
bool canKeepBookmarks(std::string_view mediaPath);

// The bookmarks stored for a medium: the first section whose file name equals the
// medium's, compared without regard to ASCII case, so a file moved to another folder keeps
// its bookmarks. Values from 1 up to lengthSeconds - 1, ascending, each once, at most 50.
// Lines that do not read as "name=hh:mm:ss" are skipped one by one.
std::vector<int> readBookmarks(std::string_view fileBytes, std::string_view mediaPath,
                               int lengthSeconds);

// The file after saving positions for mediaPath: the medium's section first, then every
// line of the old file in its order, trimmed, without empty lines and without any section
// named exactly mediaPath. Lines above the first section stay above the new one; lines of
// any length stay whole. An empty list writes no section, unless a section of another
// medium with the same file name would then be loaded in its place. The old file may be
// UTF-8, CP949 or carry a byte-order mark; the new section is UTF-8 and other lines keep
// their bytes (a UTF-16 file is rewritten as UTF-8).
std::string rewriteBookmarks(std::string_view oldFileBytes, std::string_view mediaPath,
                             const std::vector<int>& positions);

}  // namespace orvalis::bookmarks
