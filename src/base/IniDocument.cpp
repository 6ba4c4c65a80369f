#include "base/IniDocument.h"

#include <algorithm>

namespace orvalis {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool needsQuoting(std::string_view v) {
    if (v.empty()) return false;
    if (isBlank(v.front()) || isBlank(v.back()) || v.front() == '"') return true;
    return std::any_of(v.begin(), v.end(), [](char c) { return c == '\n' || c == '\r'; });
}

std::string quote(std::string_view v) {
    std::string out = "\"";
    for (char c : v) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '"': out += "\\\""; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default: out += c;
        }
    }
    out += '"';
    return out;
}

std::string unquote(std::string_view v) {
    if (v.size() < 2 || v.front() != '"' || v.back() != '"') return std::string(v);
    std::string out;
    for (size_t i = 1; i + 1 < v.size(); ++i) {
        char c = v[i];
        if (c == '\\' && i + 2 < v.size()) {
            char n = v[++i];
            switch (n) {
                case 'n': out += '\n'; break;
                case 'r': out += '\r'; break;
                case 't': out += '\t'; break;
                default: out += n;
            }
        } else {
            out += c;
        }
    }
    return out;
}

bool isQuoteChar(char c) { return c == '"' || c == '\''; }

std::string_view windowsUnquote(std::string_view v) {
    if (v.size() >= 2 && isQuoteChar(v.front()) && v.back() == v.front()) return v.substr(1, v.size() - 2);
    return v;
}

std::string windowsQuote(std::string_view v) {
    std::string out(v);
    for (char& c : out)
        if (c == '\n' || c == '\r') c = ' ';
    if (out.empty()) return out;
    bool wrap = isBlank(out.front()) || isBlank(out.back()) ||
                (out.size() >= 2 && isQuoteChar(out.front()) && out.back() == out.front());
    return wrap ? '"' + out + '"' : out;
}

}  // namespace

std::string foldAsciiCase(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

struct IniDocument::Section {
    struct Line {
        bool isEntry = false;
        std::string key;    // entry: the key as written
        std::string value;  // entry: the value, unquoted; other: the raw line
        std::string raw;    // entry as read, written back unchanged until the value is set
    };
    std::string name;
    std::string rawHeader;  // the header line as read; empty for a section made here
    std::vector<Line> lines;
    std::unordered_map<std::string, size_t> keyIndex;  // folded key -> first entry line

    void reindexKeys() {
        keyIndex.clear();
        for (size_t i = 0; i < lines.size(); ++i)
            if (lines[i].isEntry) keyIndex.try_emplace(foldAsciiCase(lines[i].key), i);
    }
};

IniDocument::IniDocument() = default;
IniDocument::IniDocument(Options options) : options_(options) {}
IniDocument::IniDocument(IniDocument&&) noexcept = default;
IniDocument& IniDocument::operator=(IniDocument&&) noexcept = default;
IniDocument::~IniDocument() = default;

IniDocument::IniDocument(const IniDocument& other)
    : options_(other.options_), preamble_(other.preamble_) {
    for (const auto& s : other.sections_) sections_.push_back(std::make_unique<Section>(*s));
    reindex();
}

IniDocument& IniDocument::operator=(const IniDocument& other) {
    if (this != &other) {
        IniDocument copy(other);
        *this = std::move(copy);
    }
    return *this;
}

void IniDocument::reindex() {
    index_.clear();
    for (const auto& s : sections_) index_.try_emplace(foldAsciiCase(s->name), s.get());
}

IniDocument IniDocument::parse(std::string_view text, Options options) {
    IniDocument doc(options);
    Section* current = nullptr;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view raw = text.substr(pos, end - pos);
        pos = end + 1;
        while (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        std::string_view line = trim(raw);

        if (line.size() >= 2 && line.front() == '[') {
            // A section line that ends with "]" names everything up to that last one, so
            // that a name holding "]" reads back as it was written.
            size_t close = line.back() == ']' ? line.size() - 1 : line.find(']');
            if (close != std::string_view::npos) {
                auto section = std::make_unique<Section>();
                section->name = std::string(trim(line.substr(1, close - 1)));
                section->rawHeader = std::string(raw);
                current = section.get();
                doc.sections_.push_back(std::move(section));
                continue;
            }
        }
        size_t eq = line.find('=');
        bool isComment = !line.empty() && (line.front() == ';' || line.front() == '#');
        if (current && eq != std::string_view::npos && eq > 0 && !isComment) {
            Section::Line entry;
            entry.isEntry = true;
            entry.raw = std::string(raw);
            entry.key = std::string(trim(line.substr(0, eq)));
            std::string_view value = trim(line.substr(eq + 1));
            entry.value = options.quoteValues     ? unquote(value)
                          : options.windowsQuotes ? std::string(windowsUnquote(value))
                                                  : std::string(value);
            current->lines.push_back(std::move(entry));
            continue;
        }
        if (!options.keepOtherLines) continue;
        if (current) {
            current->lines.push_back({false, {}, std::string(raw), {}});
        } else {
            doc.preamble_.emplace_back(raw);
        }
    }
    for (auto& s : doc.sections_) s->reindexKeys();
    doc.reindex();
    return doc;
}

std::string IniDocument::serialize() const {
    std::string out;
    for (const auto& l : preamble_) {
        out += l;
        out += '\n';
    }
    for (const auto& s : sections_) {
        if (s->rawHeader.empty()) {
            out += '[';
            out += s->name;
            out += ']';
        } else {
            out += s->rawHeader;
        }
        out += '\n';
        for (const auto& l : s->lines) {
            if (l.isEntry && !l.raw.empty()) {
                out += l.raw;
            } else if (l.isEntry) {
                out += l.key;
                out += '=';
                if (options_.quoteValues) {
                    out += needsQuoting(l.value) ? quote(l.value) : l.value;
                } else if (options_.windowsQuotes) {
                    out += windowsQuote(l.value);
                } else {
                    out += l.value;
                }
            } else {
                out += l.value;
            }
            out += '\n';
        }
    }
    return out;
}

IniDocument::Section* IniDocument::findSection(std::string_view name) const {
    auto it = index_.find(foldAsciiCase(name));
    return it == index_.end() ? nullptr : it->second;
}

IniDocument::Section& IniDocument::sectionFor(std::string_view name) {
    if (Section* s = findSection(name)) return *s;
    auto section = std::make_unique<Section>();
    section->name = std::string(name);
    Section* raw = section.get();
    sections_.push_back(std::move(section));
    index_.emplace(foldAsciiCase(name), raw);
    return *raw;
}

const std::string* IniDocument::find(std::string_view section, std::string_view key) const {
    const Section* s = findSection(section);
    if (!s) return nullptr;
    auto it = s->keyIndex.find(foldAsciiCase(key));
    return it == s->keyIndex.end() ? nullptr : &s->lines[it->second].value;
}

bool IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
    Section& s = sectionFor(section);
    std::string folded = foldAsciiCase(key);
    auto it = s.keyIndex.find(folded);
    if (it != s.keyIndex.end()) {
        Section::Line& line = s.lines[it->second];
        if (line.value == value) return false;
        line.value = std::string(value);
        line.raw.clear();
        return true;
    }
    // A new key goes after the section's last entry, before trailing blank lines or comments.
    size_t at = s.lines.size();
    while (at > 0 && !s.lines[at - 1].isEntry) --at;
    if (at == 0) at = s.lines.size();
    s.lines.insert(s.lines.begin() + static_cast<std::ptrdiff_t>(at),
                   {true, std::string(key), std::string(value), {}});
    if (at == s.lines.size() - 1) {
        s.keyIndex.emplace(std::move(folded), at);
    } else {
        s.reindexKeys();
    }
    return true;
}

bool IniDocument::remove(std::string_view section, std::string_view key) {
    Section* s = findSection(section);
    if (!s) return false;
    std::string folded = foldAsciiCase(key);
    size_t before = s->lines.size();
    std::erase_if(s->lines, [&](const Section::Line& l) {
        return l.isEntry && foldAsciiCase(l.key) == folded;
    });
    if (s->lines.size() == before) return false;
    s->reindexKeys();
    return true;
}

bool IniDocument::removeSection(std::string_view section) {
    std::string folded = foldAsciiCase(section);
    size_t before = sections_.size();
    std::erase_if(sections_, [&](const std::unique_ptr<Section>& s) {
        return foldAsciiCase(s->name) == folded;
    });
    if (sections_.size() == before) return false;
    reindex();
    return true;
}

bool IniDocument::hasSection(std::string_view section) const { return findSection(section); }

std::vector<std::string> IniDocument::sectionNames() const {
    std::vector<std::string> names;
    for (const auto& s : sections_) names.push_back(s->name);
    return names;
}

std::vector<std::pair<std::string, std::string>> IniDocument::entries(
    std::string_view section) const {
    std::vector<std::pair<std::string, std::string>> out;
    const Section* s = findSection(section);
    if (!s) return out;
    for (const auto& l : s->lines)
        if (l.isEntry && s->keyIndex.at(foldAsciiCase(l.key)) == static_cast<size_t>(&l - s->lines.data()))
            out.emplace_back(l.key, l.value);
    return out;
}

}  // namespace orvalis
