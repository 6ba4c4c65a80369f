#include "captions/SamiParser.h"

#include <algorithm>
#include <array>
#include <optional>

#include "app/TextCodec.h"
#include "captions/CharacterReferences.h"
#include "captions/SplitPoint.h"
#include "captions/TextEdits.h"

namespace orvalis {

namespace {

constexpr std::string_view kBreak = "\n<BR>\n";
// A colour is six digits or a name of at most 17 letters; a longer text is unknown
// anyway, and is cut so that an absurd attribute cannot be copied onto every line.
constexpr std::size_t kLongestColourText = 20;

constexpr std::array<std::string_view, 4> kKnownCodes{"KRCC", "EGCC", "JPCC", "FRCC"};

bool startsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

bool isNbsp(std::string_view s) {
    if (s.size() > 6) return false;
    std::string lower = text::toLowerAscii(s);
    return lower == "&nbsp" || lower == "&nbsp;";
}

// The slot of a SYNC start value: an optional quote, an optional sign and the leading
// digits, in milliseconds (no digits read as 0). Nothing when the start lies before 0 or
// beyond 24 hours: such a SYNC is ignored with its text.
std::optional<int> syncSlot(std::string_view value) {
    if (!value.empty() && (value[0] == '"' || value[0] == '\'')) value.remove_prefix(1);
    bool negative = false;
    if (!value.empty() && (value[0] == '+' || value[0] == '-')) {
        negative = value[0] == '-';
        value.remove_prefix(1);
    }
    long long ms = 0;
    for (char c : value) {
        if (c < '0' || c > '9') break;
        ms = ms * 10 + (c - '0');
        if (ms > kLatestSyncMilliseconds) return std::nullopt;
    }
    if (negative && ms > 0) return std::nullopt;
    return static_cast<int>(ms / 100);
}

// The language code a normalised "<PCLASS=" tag names, or "" when it names none of the
// known ones. A quoted class is the text between the quotes; a class longer than four
// letters stands for the first known code found in it; English and Dutch file as "EGCC".
std::string_view classCode(std::string_view tag) {
    std::string_view cls = tag.substr(8);
    if (!cls.empty() && cls.back() == '>') cls.remove_suffix(1);
    if (!cls.empty() && (cls[0] == '"' || cls[0] == '\'')) {
        char quote = cls[0];
        cls.remove_prefix(1);
        cls = cls.substr(0, cls.find(quote));
    }
    if (cls.size() > 4) {
        std::string_view found;
        for (std::string_view code : {"KRCC", "ENCC", "EGCC", "JPCC", "FRCC"}) {
            if (cls.find(code) != std::string_view::npos) {
                found = code;
                break;
            }
        }
        cls = found;
    }
    if (cls == "ENCC" || cls == "NLCC") return "EGCC";
    for (std::string_view code : kKnownCodes)
        if (cls == code) return code;
    return {};
}

// The colour text of a normalised FONT tag: what follows "COLOR=", without quotes and
// "#", up to a blank, a quote or the end of the tag. Nothing when the tag sets no colour.
std::optional<std::string> colourText(std::string_view tag) {
    std::size_t at = tag.find("COLOR=");
    if (at == std::string_view::npos) return std::nullopt;
    std::string colour;
    for (char c : tag.substr(at + 6)) {
        if (c == '>') break;
        bool skipped = c == ' ' || c == '"' || c == '\'' || c == '#';
        if (skipped && !colour.empty() && c != '#') break;
        // "|" and line feeds divide a cell's lines; they cannot stand in a colour.
        if (skipped || c == '|' || c == '\n') continue;
        bool startsCharacter = (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        if (colour.size() >= kLongestColourText && startsCharacter) break;
        colour += c;
    }
    return colour;
}

void trimInPlace(std::string& s) {
    std::string_view kept = text::trimWhitespace(s);
    if (kept.size() == s.size()) return;
    s = std::string(kept);
}

// The first place of either byte from start on (find_first_of costs a search of its set
// for every byte).
std::size_t findEither(std::string_view s, char a, char b, std::size_t start = 0) {
    for (std::size_t i = start; i < s.size(); ++i)
        if (s[i] == a || s[i] == b) return i;
    return std::string_view::npos;
}

// Calls f with each line of a text; "\n", "\r\n" and a lone "\r" all end a line.
template <typename F>
void forEachLine(std::string_view text, F&& f) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = findEither(text, '\r', '\n', start);
        if (end == std::string_view::npos) {
            f(text.substr(start));
            return;
        }
        f(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
}

// Pass 1: every tag and every run of text on a line of its own. Tags are upper-cased
// and lose their blanks; a text run longer than the divide length is cut in two; a
// physical line that ends in text ends with a line break tag. Also finds the largest
// SYNC slot and the language classes in the order of their first use.
class Normaliser {
public:
    Normaliser(int divideLength, CaptionTables& tables)
        : divideLength_(divideLength), tables_(tables) {}

    void physicalLine(std::string_view line) {
        line = text::trimWhitespace(line);
        // A tag left open at the end of the previous line goes on here.
        if (!pending_.empty() && !line.empty()) pending_ += ' ';
        while (!line.empty()) {
            std::size_t mark = findEither(line, '<', '>');
            pending_.append(line.substr(0, mark));
            if (mark == std::string_view::npos) break;
            if (line[mark] == '<')
                openTag();
            else
                closeTagOrKeep();
            line.remove_prefix(mark + 1);
        }
        endLine();
    }

    std::string finish() {
        if (!pending_.empty()) writeLine(pending_);
        pending_.clear();
        return std::move(out_);
    }

private:
    void openTag() {
        if (!pending_.empty()) writeChunk();
        pending_ = "<";
    }

    // A ">" closes a tag; anywhere else it is text (">> Who is it?").
    void closeTagOrKeep() {
        if (!pending_.empty() && pending_[0] == '<')
            closeTag();
        else
            pending_ += '>';
    }

    // A text run ended by a tag on the same line.
    void writeChunk() {
        if (isText(pending_))
            writeText(pending_, "\n");
        else
            writeLine(pending_);
        pending_.clear();
    }

    void endLine() {
        if (pending_.empty()) return;
        if (!isText(pending_)) {
            if (continuesOnNextLine(pending_)) return;
            writeLine(pending_);
        } else {
            if (isNbsp(pending_)) pending_ = text::toUpperAscii(pending_);
            writeText(pending_, kBreak);
        }
        pending_.clear();
    }

    static bool isText(std::string_view s) { return s[0] != '<'; }

    // An unclosed tag that begins like a real one ("<SYNC Start", "</FONT", "<!--") goes on
    // on the next line, as HTML lets a tag do; a stray "<" in text does not.
    static bool continuesOnNextLine(std::string_view tag) {
        auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
        if (tag.size() < 2) return false;
        if (tag[1] == '!') return true;
        if (tag[1] == '/') return tag.size() > 2 && letter(tag[2]);
        return letter(tag[1]);
    }

    void writeText(std::string_view run, std::string_view end) {
        if (text::cp949Units(run) > static_cast<std::size_t>(std::max(divideLength_, 0))) {
            auto [first, second] = splitInTwo(run);
            out_ += first;
            out_ += end;
            out_ += second;
        } else {
            out_ += run;
        }
        out_ += end;
    }

    void writeLine(std::string_view s) {
        out_ += s;
        out_ += '\n';
    }

    void closeTag() {
        std::string tag;
        tag.reserve(pending_.size() + 1);
        for (char c : pending_) {
            if (c == ' ' || c == '\t') continue;
            tag += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
        }
        pending_.clear();
        if (tag.find("SYNCSTART=", 1) != std::string::npos) {
            std::optional<int> slot = syncSlot(std::string_view(tag).substr(tag.find('=') + 1));
            if (slot) tables_.lastSlot = std::max(tables_.lastSlot, *slot);
        } else if (startsWith(tag, "<PCLASS=") &&
                   tables_.languageCodes.size() < static_cast<std::size_t>(kMaxCaptionLanguages)) {
            std::string_view code = classCode(tag);
            auto& codes = tables_.languageCodes;
            if (!code.empty() && std::find(codes.begin(), codes.end(), code) == codes.end())
                codes.emplace_back(code);
        }
        tag += '>';
        writeLine(tag);
    }

    int divideLength_;
    CaptionTables& tables_;
    std::string pending_;
    std::string out_;
};

// Pass 2: files each normalised line under the slot of the SYNC before it, in the table
// of the language class in force.
class SlotFiller {
public:
    explicit SlotFiller(CaptionTables& tables) : tables_(tables) { tables_.texts.emplace_back(); }

    void line(std::string_view line) {
        line = text::trimWhitespace(line);
        if (line.empty()) return;
        if (line[0] == '<') {
            tag(line);
        } else if (!seenSync_) {
            return;
        } else if (isNbsp(line)) {
            nbsp();
        } else {
            captionText(line);
        }
    }

    void finish() { emptyCellOfSilentSync(); }

private:
    void tag(std::string_view tag) {
        if (startsWith(tag, "<SYNCSTART=")) {
            sync(tag.substr(11, tag.find('>') - 11));
        } else if (!seenSync_) {
            return;
        } else if (startsWith(tag, "<PCLASS=")) {
            std::string_view code = classCode(tag);
            const auto& codes = tables_.languageCodes;
            auto found = std::find(codes.begin(), codes.end(), code);
            if (!code.empty() && found != codes.end())
                active_ = static_cast<int>(found - codes.begin());
        } else if (tag.find("FONT", 1) != std::string_view::npos &&
                   tag.find("COLOR", 1) != std::string_view::npos) {
            if (std::optional<std::string> c = colourText(tag)) colour_ = std::move(*c);
        } else if (tag == "</FONT>") {
            colour_.clear();
        } else if (tag == "<BR>" || tag == "</BR>" || tag == "<BR/>") {
            if (std::string* c = cell()) *c += '\n';
        }
    }

    void sync(std::string_view value) {
        emptyCellOfSilentSync();
        std::optional<int> slot = syncSlot(value);
        slot_ = slot && *slot <= tables_.lastSlot ? *slot : -1;
        seenSync_ = true;
        colour_.clear();
        ++generation_;
        wrote_ = false;
    }

    // A SYNC that carried nothing still empties its cell in the language in force, so
    // that a later SYNC in the same tenth of a second takes the slot.
    void emptyCellOfSilentSync() {
        if (wrote_ || slot_ < 0) return;
        auto lang = static_cast<std::size_t>(active_);
        std::uint32_t index = tables_.slots[lang][static_cast<std::size_t>(slot_)];
        if (index != 0) tables_.texts[index].clear();
        wrote_ = true;
    }

    void nbsp() {
        if (std::string* c = cell()) {
            if (c->empty())
                *c = kEndMark;
            else
                *c += ' ';
        }
    }

    void captionText(std::string_view line) {
        std::string* c = cell();
        if (!c) return;
        std::size_t bar = c->rfind('|');
        std::size_t feed = c->rfind('\n');
        // The cell's current display line has no colour yet: this text gives it one.
        if (bar == std::string::npos || (feed != std::string::npos && bar < feed)) {
            *c += colour_.empty() ? kDefaultColourText : std::string_view(colour_);
            *c += '|';
        } else {
            *c += ' ';
        }
        *c += line;
    }

    // The cell of the slot and language in force, or nothing after a SYNC that is ignored.
    // The first text a language gets after a SYNC replaces what an earlier SYNC of the
    // same tenth of a second left in that language's cell; other languages keep theirs.
    std::string* cell() {
        if (slot_ < 0) return nullptr;
        wrote_ = true;
        auto lang = static_cast<std::size_t>(active_);
        std::uint32_t& index = tables_.slots[lang][static_cast<std::size_t>(slot_)];
        if (index == 0) {
            index = static_cast<std::uint32_t>(tables_.texts.size());
            tables_.texts.emplace_back();
        }
        std::string& text = tables_.texts[index];
        if (resetAt_[lang] != generation_) {
            text.clear();
            resetAt_[lang] = generation_;
        }
        return &text;
    }

    CaptionTables& tables_;
    int active_ = 0;
    int slot_ = -1;
    bool seenSync_ = false;
    bool wrote_ = true;
    unsigned generation_ = 0;
    std::array<unsigned, kMaxCaptionLanguages> resetAt_{};
    std::string colour_;
};

void cleanCell(std::string& cell) {
    trimInPlace(cell);
    replaceAll(cell, "\n\n", "\n");
    if (cell.size() > kEndMark.size() && cell.find(kEndMark) != std::string::npos)
        replaceAll(cell, kEndMark, " ");
    for (std::string_view nbsp : {"&NBSP;", "&Nbsp;", "&nbsp;", "&NBSP", "&Nbsp", "&nbsp"})
        replaceAll(cell, nbsp, " ");
    if (cell.find('&') != std::string::npos) cell = decodeCharacterReferences(cell);
    trimInPlace(cell);
}

// Pass 3: cleans every cell; an end mark less than a second before the next caption is
// dropped, so that the earlier caption stays up until the next one replaces it.
void cleanTables(CaptionTables& tables) {
    for (auto& slots : tables.slots) {
        for (std::size_t i = 0; i < slots.size(); ++i) {
            if (slots[i] == 0) continue;
            std::string& cell = tables.texts[slots[i]];
            if (cell.empty()) continue;
            cleanCell(cell);
            if (cell.empty() || i <= 10) continue;
            for (std::size_t k = i - 1; k >= i - 9; --k)
                if (slots[k] != 0 && tables.texts[slots[k]] == kEndMark)
                    tables.texts[slots[k]].clear();
        }
    }
}

}  // namespace

std::string_view CaptionTables::cell(int language, int slot) const {
    if (language < 0 || static_cast<std::size_t>(language) >= slots.size()) return {};
    const auto& table = slots[static_cast<std::size_t>(language)];
    if (slot < 0 || static_cast<std::size_t>(slot) >= table.size()) return {};
    return texts[table[static_cast<std::size_t>(slot)]];
}

std::size_t CaptionTables::memoryBytes() const {
    // A string's own bytes count once it outgrows the room inside the string object.
    auto heap = [](const std::string& s) {
        return s.capacity() > std::string().capacity() ? s.capacity() + 1 : 0;
    };
    std::size_t bytes = sizeof(*this);
    bytes += languageCodes.capacity() * sizeof(std::string);
    for (const auto& code : languageCodes) bytes += heap(code);
    for (const auto& table : slots) bytes += sizeof(table) + table.capacity() * sizeof(table[0]);
    bytes += texts.capacity() * sizeof(std::string);
    for (const auto& text : texts) bytes += heap(text);
    return bytes;
}

CaptionTables SamiParser::parse(std::string_view utf8) const {
    CaptionTables tables;
    Normaliser normaliser(divideLength_, tables);
    forEachLine(utf8, [&](std::string_view line) { normaliser.physicalLine(line); });
    std::string normalised = normaliser.finish();

    if (tables.languageCodes.empty()) tables.languageCodes.emplace_back(kUnknownLanguage);
    tables.slots.assign(tables.languageCodes.size(),
                        std::vector<std::uint32_t>(static_cast<std::size_t>(tables.lastSlot + 1)));

    SlotFiller filler(tables);
    forEachLine(normalised, [&](std::string_view line) { filler.line(line); });
    filler.finish();
    cleanTables(tables);
    return tables;
}

std::string decodeCaptionText(std::string_view bytes) {
    std::string text = text::decode(bytes);
    std::erase(text, '\0');
    return text;
}

}  // namespace orvalis
