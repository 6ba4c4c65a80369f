#include "extras/BookmarkFile.h"

#include <algorithm>
#include <cstdio>

#include "base/Naming.h"
#include "base/TextCodec.h"

namespace orvalis::bookmarks {

namespace {

// The file's text split into lines. Files written by the player are UTF-8; older ones are
// CP949. Lines keep their own bytes so that a save never re-encodes another medium's
// section; only a file with a byte-order mark is decoded as a whole.
std::string fileBody(std::string_view bytes) {
    switch (text::detectEncoding(bytes)) {
        case text::Encoding::Utf16LE:
        case text::Encoding::Utf16BE:
            return text::decode(bytes);
        case text::Encoding::Utf8Bom:
            return std::string(bytes.substr(3));
        default:
            return std::string(bytes);
    }
}

template <typename Visit>
void forEachLine(std::string_view body, Visit visit) {
    while (!body.empty()) {
        auto end = body.find('\n');
        std::string_view line = body.substr(0, end);
        if (!visit(line)) return;
        if (end == std::string_view::npos) return;
        body.remove_prefix(end + 1);
    }
}

// A line's text as UTF-8, whichever of the two encodings it was written in.
std::string lineText(std::string_view line) {
    return text::isValidUtf8(line) ? std::string(line) : text::decode(line, text::Encoding::Cp949);
}

// The name between "[" and a closing "]" of a trimmed section line, as written.
std::string_view bracketedName(std::string_view line) {
    std::string_view name = line.substr(1);
    if (!name.empty() && name.back() == ']') name.remove_suffix(1);
    return name;
}

std::string fileKey(std::string_view path) {
    return text::toLowerAscii(fileNamePart(path));
}

// Whether a section line names a medium of this file name (key), without ASCII case. The
// name counts as written, so that a file whose name begins or ends in blanks finds the
// section saved for it; trimmed as well, for hand-made sections such as "[ D:\a.avi ]".
bool sectionMatches(std::string_view line, std::string_view key) {
    const std::string name = lineText(bracketedName(line));
    return fileKey(name) == key || fileKey(text::trimWhitespace(name)) == key;
}

// "bm3 = 00:01:05" and the like: blanks removed, one "=", two ":", and the clock text in
// the eight characters after the "=".
std::optional<int> bookmarkValue(std::string_view line) {
    std::string packed;
    packed.reserve(line.size());
    for (char c : line)
        if (c != ' ' && c != '\t') packed += c;
    if (packed.size() < 12) return std::nullopt;
    if (std::count(packed.begin(), packed.end(), '=') != 1 ||
        std::count(packed.begin(), packed.end(), ':') != 2)
        return std::nullopt;
    return parseClockText(std::string_view(packed).substr(packed.find('=') + 1, 8));
}

}  // namespace

bool canKeepBookmarks(std::string_view mediaPath) {
    return !mediaPath.empty() && !isStreamAddress(mediaPath) &&
           mediaPath.find_first_of(std::string_view("\n\r\0", 3)) == std::string_view::npos;
}

std::vector<int> readBookmarks(std::string_view fileBytes, std::string_view mediaPath,
                               int lengthSeconds) {
    std::vector<int> found;
    if (!canKeepBookmarks(mediaPath)) return found;
    const std::string key = fileKey(mediaPath);
    const std::string body = fileBody(fileBytes);
    bool inSection = false;
    forEachLine(body, [&](std::string_view raw) {
        std::string_view line = text::trimWhitespace(raw);
        if (line.empty()) return true;
        if (line.front() == '[') {
            if (inSection) return false;
            inSection = sectionMatches(line, key);
            return true;
        }
        if (!inSection) return true;
        auto value = bookmarkValue(line);
        if (!value || *value < 1 || *value >= lengthSeconds) return true;
        if (std::find(found.begin(), found.end(), *value) == found.end()) found.push_back(*value);
        return found.size() < static_cast<std::size_t>(kMaxBookmarks);
    });
    std::sort(found.begin(), found.end());
    return found;
}

std::string rewriteBookmarks(std::string_view oldFileBytes, std::string_view mediaPath,
                             const std::vector<int>& positions) {
    // Lines above the first section stay above it: below the new section they would
    // become its bookmarks.
    const std::string body = fileBody(oldFileBytes);
    const std::string key = fileKey(mediaPath);
    std::string preamble, sections;
    sections.reserve(body.size() + 1);
    bool inSections = false, skipping = false, sameNameKept = false;
    forEachLine(body, [&](std::string_view raw) {
        std::string_view line = text::trimWhitespace(raw);
        if (line.empty()) return true;
        if (line.front() == '[') {
            inSections = true;
            skipping = lineText(bracketedName(line)) == mediaPath;
            if (!skipping && !sameNameKept) sameNameKept = sectionMatches(line, key);
        }
        if (!skipping) (inSections ? sections : preamble).append(line).append("\n");
        return true;
    });

    // An emptied list still gets its section when another medium of the same file name
    // has one: loading would take that one's bookmarks instead.
    std::string section;
    if (!positions.empty() || sameNameKept) section.append("[").append(mediaPath).append("]\n");
    char line[64];
    for (std::size_t i = 0; i < positions.size(); ++i) {
        std::snprintf(line, sizeof line, "bm%zu=%s\n", i, clockText(positions[i]).c_str());
        section += line;
    }
    std::string out;
    out.reserve(preamble.size() + section.size() + sections.size() + 1);
    // A first line that looks like a byte-order mark would make the whole file read as one.
    const auto mark = text::detectEncoding(std::string_view(preamble).substr(0, 3));
    if (mark != text::Encoding::Utf8 && mark != text::Encoding::Cp949) out += '\n';
    out += preamble;
    out += section;
    out += sections;
    return out;
}

}  // namespace orvalis::bookmarks
