#include "extras/UrlListFile.h"

#include <algorithm>
#include <utility>

#include "base/AppPaths.h"
#include "base/AtomicFile.h"
#include "base/TextCodec.h"

namespace orvalis {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string unescapeField(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '%' && i + 2 < field.size()) {
            const int high = hexDigit(field[i + 1]), low = hexDigit(field[i + 2]);
            if (high >= 0 && low >= 0) {
                out += static_cast<char>(high * 16 + low);
                i += 2;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

bool isControl(unsigned char c) {
    return c < 0x20 || c == 0x7F;
}

// Whether the field reads back as written on a plain line: the line's trimming takes
// blanks from the name's start and the address's end, the split takes the address's last
// "=", and the text rule could read bytes that are not UTF-8 as CP949.
bool readsBackPlain(std::string_view field, bool isAddress) {
    if (field.empty()) return true;
    if (std::any_of(field.begin(), field.end(), [](char c) { return isControl(c); })) return false;
    if (!text::isValidUtf8(field)) return false;
    if (isAddress) return field.find('=') == std::string_view::npos && field.back() != ' ';
    return field.front() != ' ' && !field.starts_with(kUtf8Bom);
}

void appendEscaped(std::string& out, std::string_view field) {
    const bool utf8 = text::isValidUtf8(field);
    for (std::size_t i = 0; i < field.size(); ++i) {
        const auto c = static_cast<unsigned char>(field[i]);
        const bool atEnd = i == 0 || i + 1 == field.size();
        if (c == '%' || c == '=' || isControl(c) || (c == ' ' && atEnd) || (c >= 0x80 && !utf8) ||
            (i < kUtf8Bom.size() && field.starts_with(kUtf8Bom))) {
            static constexpr char kHex[] = "0123456789ABCDEF";
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        } else {
            out += static_cast<char>(c);
        }
    }
}

}  // namespace

std::vector<StreamEntry> parseUrlList(std::string_view bytes) {
    const std::string text = text::decode(bytes);
    std::vector<StreamEntry> entries;
    std::string_view rest = text;
    bool escaped = false, firstLine = true;
    while (!rest.empty() && entries.size() < kMaxStreamEntries) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        // The list was always read as C strings: a NUL ends the line's text.
        line = line.substr(0, line.find('\0'));
        line = text::trimWhitespace(line);
        if (std::exchange(firstLine, false) && line == kEscapedUrlListMark) {
            escaped = true;
            continue;
        }
        const std::size_t eq = line.rfind('=');
        if (eq == std::string_view::npos) break;
        const std::string_view name = line.substr(0, eq), url = line.substr(eq + 1);
        if (escaped) {
            entries.push_back({unescapeField(name), unescapeField(url)});
        } else {
            entries.push_back({std::string(name), std::string(url)});
        }
    }
    return entries;
}

std::string formatUrlList(const std::vector<StreamEntry>& entries) {
    // Lists that read back as they are keep the plain layout every reader knows.
    const bool plain = std::all_of(entries.begin(), entries.end(), [](const StreamEntry& e) {
        return readsBackPlain(e.name, false) && readsBackPlain(e.url, true);
    });
    std::string out;
    if (!plain) out.append(kEscapedUrlListMark).append("\n");
    for (const StreamEntry& e : entries) {
        if (plain) {
            out.append(e.name).append("=").append(e.url);
        } else {
            appendEscaped(out, e.name);
            out += '=';
            appendEscaped(out, e.url);
        }
        out += '\n';
    }
    return out;
}

std::optional<std::vector<StreamEntry>> readUrlFile(const std::string& path) {
    auto bytes = readWholeFile(path, kMaxUrlFileBytes);
    if (!bytes) return std::nullopt;
    return parseUrlList(*bytes);
}

bool writeUrlFile(const std::string& path, const std::vector<StreamEntry>& entries) {
    return writeFileAtomically(path, formatUrlList(entries));
}

std::string defaultUrlFilePath() {
    return paths::dataDir() + "/URL.txt";
}

}  // namespace orvalis
