#include "playlist/ListFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <filesystem>
#include <optional>
#include <utility>

#include "base/AtomicFile.h"
#include "base/Naming.h"
#include "base/TextCodec.h"

namespace orvalis::listfiles {

namespace {

// No list of any real length comes near this; a larger file is not a list.
constexpr std::size_t kMaxListBytes = std::size_t(64) << 20;

std::string_view trim(std::string_view s) {
    return text::trimWhitespace(s);
}

// Calls f for every line; "\r\n", "\n" and a lone "\r" all end a line, and a line of any
// length stays one line.
template <typename F>
void forEachLine(std::string_view text, F&& f) {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        f(text.substr(start, end - start));
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() &&
            text[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
}

bool startsWithIgnoringCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() &&
           text::toLowerAscii(s.substr(0, prefix.size())) == text::toLowerAscii(prefix);
}

bool hasControlCharacter(std::string_view s) {
    return std::any_of(s.begin(), s.end(), [](char c) {
        auto u = static_cast<unsigned char>(c);
        return (u < 0x20 && c != '\t') || u == 0x7F;
    });
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Undoes %XX escapes; nothing when an escape is malformed.
std::optional<std::string> percentDecoded(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '%') {
            out += s[i];
            continue;
        }
        if (i + 2 >= s.size()) return std::nullopt;
        int hi = hexValue(s[i + 1]), lo = hexValue(s[i + 2]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return out;
}

// VLC writes relative entries as percent-escaped addresses ("My%20Song.mp3"). A name with
// a blank in it was not escaped, so only a blank-free entry whose escapes are all well
// formed and decode to UTF-8 text is read that way; anything else is a name as it stands.
std::string unescapeRelative(std::string_view entry) {
    if (entry.find('%') == std::string_view::npos || entry.find(' ') != std::string_view::npos)
        return std::string(entry);
    auto decoded = percentDecoded(entry);
    if (!decoded || !text::isValidUtf8(*decoded) || hasControlCharacter(*decoded))
        return std::string(entry);
    return *decoded;
}

bool isWindowsPath(std::string_view e) {
    bool drive = e.size() >= 3 && ((e[0] >= 'A' && e[0] <= 'Z') || (e[0] >= 'a' && e[0] <= 'z')) &&
                 e[1] == ':' && (e[2] == '\\' || e[2] == '/');
    return drive || e.substr(0, 2) == "\\\\";
}

// file:///home/a.mp3 and file://localhost/home/a.mp3 are local paths; another host is left
// as an address for the player.
std::string fileUriToPath(std::string_view uri) {
    std::string_view rest = uri.substr(7);
    if (startsWithIgnoringCase(rest, "localhost/")) rest.remove_prefix(9);
    if (rest.empty() || rest.front() != '/') return std::string(uri);
    auto decoded = percentDecoded(rest);
    if (!decoded || hasControlCharacter(*decoded)) return std::string(uri);
    std::string path = text::isValidUtf8(*decoded) ? *decoded : text::decode(*decoded);
    // file:///C:/Music/a.mp3 names a drive path, written the way the other entries are.
    if (isWindowsPath(std::string_view(path).substr(1))) path.erase(0, 1);
    return path;
}

void addEntry(std::vector<ListEntry>& out, std::string_view raw, std::string_view folder) {
    raw = trim(raw);
    if (raw.empty() || hasControlCharacter(raw)) return;
    std::string path = resolveEntry(raw, folder);
    out.push_back({displayNameOf(path), std::move(path)});
}

// The text of one XML entity ("amp", "#233", "#xE9"), or nothing for anything else.
std::optional<std::string> entityText(std::string_view name) {
    static constexpr std::pair<std::string_view, std::string_view> kNamed[] = {
        {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"}};
    for (auto [n, t] : kNamed)
        if (name == n) return std::string(t);
    if (name.size() < 2 || name[0] != '#') return std::nullopt;
    bool hex = name[1] == 'x' || name[1] == 'X';
    std::string_view digits = name.substr(hex ? 2 : 1);
    if (digits.empty()) return std::nullopt;
    unsigned long cp = 0;
    for (char c : digits) {
        int v = hex ? hexValue(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
        if (v < 0 || cp > 0x10FFFF) return std::nullopt;
        cp = cp * (hex ? 16 : 10) + static_cast<unsigned long>(v);
    }
    if (cp < 0x20 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
    std::string out;
    text::appendUtf8(out, static_cast<char32_t>(cp));
    return out;
}

std::string decodeEntities(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        // Entities are short: looking further would make a run of "&" quadratic.
        size_t semi = s[i] == '&' ? s.substr(i, 12).find(';') : std::string_view::npos;
        std::optional<std::string> replacement;
        if (semi != std::string_view::npos) replacement = entityText(s.substr(i + 1, semi - 1));
        if (!replacement) {
            out += s[i];
            continue;
        }
        out += *replacement;
        i += semi;
    }
    return out;
}

std::string escapeXml(std::string_view s) {
    return text::escapeMarkup(s, true);
}

std::string oneLine(std::string_view s) {
    std::string out(s);
    std::replace_if(
        out.begin(), out.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return out;
}

bool writable(const PlaylistItem& row) {
    return row.path.find_first_of("\r\n") == std::string::npos;
}

// ASX is XML by intent and line-oriented text in practice. The scanner follows tags across
// lines and takes the address of every REF and ENTRYREF tag, whatever the letter case and
// spacing. A line that holds no markup at all and carries an address (the older
// "Ref1=http://..." reference files) gives that address.
class AsxScanner {
public:
    AsxScanner(std::string_view folder, std::vector<ListEntry>& out) : folder_(folder), out_(out) {}

    void line(std::string_view l) {
        bool markup = inTag_ || inComment_;
        size_t i = 0;
        while (i < l.size()) {
            if (inComment_) {
                size_t end = l.find("-->", i);
                if (end == std::string_view::npos) break;
                inComment_ = false;
                i = end + 3;
                continue;
            }
            char c = l[i];
            if (inTag_) {
                if (quote_) {
                    if (c == quote_) quote_ = 0;
                } else if (c == '>') {
                    inTag_ = false;
                    tag(tag_);
                    tag_.clear();
                    ++i;
                    continue;
                } else if ((c == '"' || c == '\'') && afterEquals()) {
                    quote_ = c;
                }
                tag_ += c;
                ++i;
                continue;
            }
            if (l.substr(i, 4) == "<!--") {
                inComment_ = markup = true;
                i += 4;
            } else {
                if (c == '<') inTag_ = markup = true;
                ++i;
            }
        }
        if (inTag_) tag_ += ' ';
        if (!markup) plainLine(l);
    }

private:
    bool afterEquals() const {
        size_t k = tag_.find_last_not_of(" \t");
        return k != std::string::npos && tag_[k] == '=';
    }

    static bool blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

    void tag(std::string_view body) {
        size_t p = 0;
        auto skipBlanks = [&] {
            while (p < body.size() && blank(body[p])) ++p;
        };
        skipBlanks();
        size_t nameStart = p;
        while (p < body.size() && !blank(body[p]) && body[p] != '/') ++p;
        std::string name = text::toUpperAscii(body.substr(nameStart, p - nameStart));
        if (name != "REF" && name != "ENTRYREF") return;
        while (p < body.size()) {
            skipBlanks();
            if (p < body.size() && body[p] == '/') {
                ++p;
                continue;
            }
            size_t attrStart = p;
            while (p < body.size() && !blank(body[p]) && body[p] != '=') ++p;
            std::string attr = text::toUpperAscii(body.substr(attrStart, p - attrStart));
            skipBlanks();
            if (p >= body.size() || body[p] != '=') {
                if (p == attrStart) ++p;
                continue;
            }
            ++p;
            skipBlanks();
            std::string_view value;
            if (p < body.size() && (body[p] == '"' || body[p] == '\'')) {
                char q = body[p++];
                size_t end = body.find(q, p);
                if (end == std::string_view::npos) end = body.size();
                value = body.substr(p, end - p);
                p = end + 1;
            } else {
                size_t start = p;
                while (p < body.size() && !blank(body[p])) ++p;
                value = body.substr(start, p - start);
                // <ref href=a.asf/> closes the tag, it does not end the name.
                if (p >= body.size() && !value.empty() && value.back() == '/')
                    value.remove_suffix(1);
            }
            if (attr == "HREF") {
                addEntry(out_, decodeEntities(value), folder_);
                return;
            }
        }
    }

    void plainLine(std::string_view l) {
        std::string upper = text::toUpperAscii(l);
        size_t at = std::string::npos;
        for (const char* scheme : {"HTTP://", "HTTPS://", "MMS://"})
            at = std::min(at, upper.find(scheme));
        if (at != std::string::npos) addEntry(out_, l.substr(at), folder_);
    }

    std::string_view folder_;
    std::vector<ListEntry>& out_;
    bool inTag_ = false;
    bool inComment_ = false;
    char quote_ = 0;
    std::string tag_;
};

// Text that is mostly control characters or undecodable bytes is not a list.
bool looksBinary(std::string_view raw, std::string_view decoded) {
    auto enc = text::detectEncoding(raw);
    bool utf16 = enc == text::Encoding::Utf16LE || enc == text::Encoding::Utf16BE;
    if (!utf16 && raw.find('\0') != std::string_view::npos) return true;
    if (decoded.find('\0') != std::string_view::npos) return true;
    size_t chars = 0, bad = 0;
    for (size_t i = 0; i < decoded.size();) {
        auto c = static_cast<unsigned char>(decoded[i]);
        size_t n = text::utf8SequenceLength(c);
        ++chars;
        bool control = c < 0x20 && std::string_view("\t\n\r\f\v").find(static_cast<char>(c)) ==
                                       std::string_view::npos;
        if (control || decoded.substr(i, 3) == "\xEF\xBF\xBD") ++bad;
        i += n;
    }
    return bad * 4 > chars;
}

// The extension with its dot, lower-cased; empty without one.
std::string extensionOf(std::string_view path) {
    size_t dot = path.rfind('.');
    return dot == std::string_view::npos ? std::string() : text::toLowerAscii(path.substr(dot));
}

// Windows Media's redirectors: ASX lists under the names of the media they lead to.
bool isRedirector(std::string_view ext) {
    return ext == ".wax" || ext == ".wvx" || ext == ".wmx";
}

// HLS tags open a playlist; a megabyte reaches well past the first of them.
constexpr std::size_t kHlsHeadBytes = std::size_t(1) << 20;
// Enough to tell a text reference from a medium.
constexpr std::size_t kSniffBytes = 4096;

// The first bytes of a regular file, or nothing when it cannot be read. Non-blocking, so
// that a pipe under a media name cannot hold the window.
std::optional<std::string> readHead(const std::string& path, std::size_t limit) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    std::string bytes(limit, '\0');
    std::size_t have = 0;
    while (have < limit) {
        ssize_t n = ::read(fd, bytes.data() + have, limit - have);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        have += static_cast<std::size_t>(n);
    }
    ::close(fd);
    bytes.resize(have);
    return bytes;
}

// A reference file as Windows Media writes them, or an ASX list, in text.
bool isReferenceText(std::string_view head) {
    std::string decoded = text::decode(head);
    if (looksBinary(head, decoded)) return false;
    std::string_view body = trim(decoded);
    return startsWithIgnoringCase(body, "[Reference]") || startsWithIgnoringCase(body, "<ASX");
}

}  // namespace

ListFormat formatOf(std::string_view path) {
    std::string ext = extensionOf(path);
    if (ext == ".m3u" || ext == ".m3u8") return ListFormat::M3u;
    if (ext == ".pls") return ListFormat::Pls;
    if (ext == ".asx" || isRedirector(ext)) return ListFormat::Asx;
    return ListFormat::None;
}

bool isHlsPlaylist(std::string_view text) {
    bool found = false;
    forEachLine(text, [&](std::string_view line) {
        found = found || startsWithIgnoringCase(trim(line), "#EXT-X-");
    });
    return found;
}

PathClass classifyPath(const std::string& path) {
    const std::string ext = extensionOf(path);
    const ListFormat format = formatOf(path);
    const PathClass medium{PathKind::Medium}, list{PathKind::List, format};
    if (isStreamAddress(path)) {
        // A list on a server (a radio's .pls or .m3u, HLS, a redirector) is libmpv's to
        // fetch and follow: this program reads only lists on disk.
        if (format != ListFormat::None) return medium;
    } else if (format == ListFormat::M3u) {
        auto head = readHead(path, kHlsHeadBytes);
        return head && isHlsPlaylist(text::decode(*head)) ? medium : list;
    } else if (isRedirector(ext)) {
        auto head = readHead(path, kSniffBytes);
        return head && looksBinary(*head, text::decode(*head)) ? medium : list;
    } else if (ext == ".asf" || ext == ".wma") {
        auto head = readHead(path, kSniffBytes);
        if (head && isReferenceText(*head)) return {PathKind::List, ListFormat::Asx};
    }
    if (format != ListFormat::None) return list;
    return isSupportedMedia(path) ? medium : PathClass{};
}

bool isSupportedMedia(std::string_view path) {
    size_t dot = path.rfind('.');
    if (dot == std::string_view::npos) return false;
    std::string ext = text::toLowerAscii(path.substr(dot));
    return kMediaPatterns.find(ext) != std::string_view::npos;
}

std::string displayNameOf(std::string_view path) {
    std::string_view name = fileNamePart(path);
    return std::string(name.empty() ? path : name);
}

std::string resolveEntry(std::string_view entry, std::string_view listFolder) {
    if (entry.empty()) return {};
    if (startsWithIgnoringCase(entry, "file://")) return fileUriToPath(entry);
    if (isWindowsPath(entry) || isStreamAddress(entry) || entry.front() == '/')
        return std::string(entry);
    std::string relative = unescapeRelative(entry);
    std::replace(relative.begin(), relative.end(), '\\', '/');
    if (listFolder.empty()) return relative;
    std::filesystem::path joined = std::filesystem::path(std::string(listFolder)) / relative;
    return joined.lexically_normal().string();
}

std::vector<ListEntry> readM3u(std::string_view text, std::string_view listFolder) {
    std::vector<ListEntry> out;
    forEachLine(text, [&](std::string_view line) {
        std::string_view t = trim(line);
        // "#" opens a directive (#EXTINF, #EXTVLCOPT, ...) or a comment, never an entry.
        if (t.empty() || t.front() == '#') return;
        std::string upper = text::toUpperAscii(t);
        if (upper.find("#EXTM3U") != std::string::npos ||
            upper.find("#EXTINF") != std::string::npos)
            return;
        addEntry(out, t, listFolder);
    });
    return out;
}

std::vector<ListEntry> readPls(std::string_view text, std::string_view listFolder) {
    struct Numbered {
        long index;
        ListEntry entry;
    };
    std::vector<Numbered> found;
    forEachLine(text, [&](std::string_view line) {
        std::string_view t = trim(line);
        if (t.size() < 4 || text::toUpperAscii(t.substr(0, 4)) != "FILE") return;
        size_t eq = t.find('=');
        if (eq == std::string_view::npos) return;
        std::vector<ListEntry> one;
        addEntry(one, t.substr(eq + 1), listFolder);
        if (one.empty()) return;
        // FileN is the entry's place in the list, whatever line it stands on.
        std::string_view digits = trim(t.substr(4, eq - 4));
        long index = LONG_MAX;
        if (!digits.empty() && digits.size() < 10 &&
            std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            index = std::stol(std::string(digits));
        found.push_back({index, std::move(one.front())});
    });
    std::stable_sort(found.begin(), found.end(),
                     [](const Numbered& a, const Numbered& b) { return a.index < b.index; });
    std::vector<ListEntry> out;
    out.reserve(found.size());
    for (auto& n : found) out.push_back(std::move(n.entry));
    return out;
}

std::vector<ListEntry> readAsx(std::string_view text, std::string_view listFolder) {
    std::vector<ListEntry> out;
    AsxScanner scanner(listFolder, out);
    forEachLine(text, [&](std::string_view line) { scanner.line(line); });
    return out;
}

ReadResult readListFile(const std::string& path, ListFormat format) {
    ReadResult result;
    auto bytes = readWholeFile(path, kMaxListBytes);
    if (!bytes) return result;
    std::string decoded = text::decode(*bytes);
    if (looksBinary(*bytes, decoded)) {
        result.status = ReadStatus::NotText;
        return result;
    }
    std::error_code ec;
    std::filesystem::path self = std::filesystem::absolute(path, ec).lexically_normal();
    std::string folder = self.parent_path().string();
    switch (format) {
        case ListFormat::M3u:
            result.entries = readM3u(decoded, folder);
            break;
        case ListFormat::Pls:
            result.entries = readPls(decoded, folder);
            break;
        case ListFormat::Asx:
            result.entries = readAsx(decoded, folder);
            break;
        case ListFormat::None:
            break;
    }
    std::erase_if(result.entries, [&](const ListEntry& e) { return e.path == self.string(); });
    result.status = ReadStatus::Ok;
    return result;
}

std::string writeM3u(const std::vector<PlaylistItem>& rows) {
    std::string out = "#EXTM3U\n";
    for (const auto& row : rows) {
        if (!writable(row)) continue;
        out += "#EXTINF:0," + oneLine(row.displayName) + "\n";
        out += row.path + "\n";
    }
    return out;
}

// Names and addresses are escaped as XML wants them ("Tom & Jerry.avi" would otherwise
// make the file unreadable to stricter readers); the reader undoes it.
std::string writeAsx(const std::vector<PlaylistItem>& rows) {
    std::string out = "<asx version = \"3.0\" >\n\n";
    for (const auto& row : rows) {
        if (!writable(row)) continue;
        out += "<entry>\n";
        out += "\t<title> " + escapeXml(oneLine(row.displayName)) + " </title>\n";
        out += "\t<duration value = \"0:0:0.0\" />\n";
        out += "\t<ref href = \"" + escapeXml(row.path) + "\" />\n";
        out += "</entry>\n\n";
    }
    return out;
}

}  // namespace orvalis::listfiles
