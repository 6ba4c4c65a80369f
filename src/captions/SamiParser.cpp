#include "captions/SamiParser.h"

#include <algorithm>
#include <array>
#include <optional>

#include "base/TextCodec.h"
#include "captions/CaptionLanguages.h"
#include "captions/CharacterReferences.h"
#include "captions/SamiTokens.h"
#include "captions/TextEdits.h"

namespace orvalis {

namespace {

// A colour is six digits or a name of at most 17 letters; a longer text is unknown
// anyway, and is cut so that an absurd attribute cannot be copied onto every line.
constexpr std::size_t kLongestColourText = 20;

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

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimLeft(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    return s;
}

// The languages of a file: every class it uses on a P tag, in the order of first use, then
// every class its style sheet declares besides; the largest SYNC slot. The first reading.
class LanguageFinder final : public SamiTokenSink {
public:
    explicit LanguageFinder(CaptionTables& tables) : tables_(tables) {}

    void tag(const SamiTag& tag) override {
        if (tag.name.find("SYNCSTART=", 1) != std::string_view::npos) {
            std::optional<int> slot = syncSlot(tag.name.substr(tag.name.find('=') + 1));
            if (slot) tables_.lastSlot = std::max(tables_.lastSlot, *slot);
        } else if (!tag.pClass.empty()) {
            add(text::toUpperAscii(tag.pClass));
        }
    }
    void text(std::string_view, bool) override {}
    void styleText(std::string_view piece) override {
        style_ += piece;
        style_ += '\n';
    }

    // The class of each language, in the order of the languages of the tables.
    std::vector<std::string> finish() {
        for (const SamiClassDeclaration& d : samiClassDeclarations(style_))
            declared_.push_back({text::toUpperAscii(d.name), d.lang});
        for (const auto& declared : declared_) add(declared.first);
        for (const std::string& name : classes_) {
            std::string lang;
            for (const auto& d : declared_)
                if (d.first == name) lang = d.second;
            tables_.languageCodes.push_back(samiLanguageCode(name, lang));
        }
        if (skipped_)
            tables_.notice = "자막 언어가 너무 많아 처음 " + std::to_string(kMaxCaptionLanguages) +
                             "개만 읽었습니다";
        if (classes_.empty()) {
            tables_.languageCodes.emplace_back(kUnknownLanguage);
            classes_.emplace_back();
        }
        return std::move(classes_);
    }

private:
    void add(std::string name) {
        if (name.empty() || std::find(classes_.begin(), classes_.end(), name) != classes_.end())
            return;
        if (classes_.size() >= static_cast<std::size_t>(kMaxCaptionLanguages)) {
            skipped_ = true;
            return;
        }
        classes_.push_back(std::move(name));
    }

    CaptionTables& tables_;
    std::vector<std::string> classes_;
    std::vector<std::pair<std::string, std::string>> declared_;
    std::string style_;
    bool skipped_ = false;
};

// Files each run of text under the slot of the SYNC before it, in the table of the language
// class in force. Runs on one line of the file join as the file writes them; a line end
// between two runs of one display line is a blank. The second reading.
class SlotFiller final : public SamiTokenSink {
public:
    SlotFiller(CaptionTables& tables, std::vector<std::string> classes)
        : tables_(tables),
          classes_(std::move(classes)),
          resetAt_(classes_.size(), 0),
          lineOpen_(classes_.size(), 0) {
        tables_.texts.emplace_back();
        tables_.slots.resize(classes_.size());
    }

    void tag(const SamiTag& tag) override {
        const std::string_view name = tag.name;
        if (startsWith(name, "<SYNCSTART=")) {
            sync(name.substr(11, name.find('>') - 11));
        } else if (!seenSync_) {
            return;
        } else if (startsWith(name, "<PCLASS=")) {
            const std::string cls = text::toUpperAscii(tag.pClass);
            auto found = std::find(classes_.begin(), classes_.end(), cls);
            if (!cls.empty() && found != classes_.end())
                active_ = static_cast<int>(found - classes_.begin());
        } else if (name.find("FONT", 1) != std::string_view::npos &&
                   name.find("COLOR", 1) != std::string_view::npos) {
            if (std::optional<std::string> c = colourText(name)) colour_ = std::move(*c);
        } else if (name == "</FONT>") {
            colour_.clear();
        } else if (name == "<BR>" || name == "</BR>" || name == "<BR/>") {
            lineBreak();
        }
    }

    void text(std::string_view run, bool afterLineEnd) override {
        if (!seenSync_) return;
        const std::string_view kept = text::trimWhitespace(run);
        if (kept.empty()) {
            // A blank between two tags separates the runs on either side.
            if (std::string* c = openLine(); c && !c->empty() && !isBlank(c->back())) *c += ' ';
        } else if (isNbsp(kept)) {
            nbsp();
        } else {
            captionText(run, afterLineEnd);
        }
    }

    void finish() { emptyCellOfSilentSync(); }

private:
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
        const auto& table = tables_.slots[static_cast<std::size_t>(active_)];
        const auto at = static_cast<std::size_t>(slot_);
        if (at < table.size() && table[at] != 0) tables_.texts[table[at]].clear();
        wrote_ = true;
    }

    void lineBreak() {
        std::string* c = cell();
        if (!c) return;
        while (!c->empty() && isBlank(c->back())) c->pop_back();
        *c += '\n';
        lineOpen_[static_cast<std::size_t>(active_)] = 0;
    }

    void nbsp() {
        if (std::string* c = cell()) {
            if (c->empty())
                *c = kEndMark;
            else
                *c += ' ';
        }
    }

    void captionText(std::string_view run, bool afterLineEnd) {
        std::string* c = cell();
        if (!c) return;
        char& lineOpen = lineOpen_[static_cast<std::size_t>(active_)];
        if (!lineOpen) {
            // The display line begins: its colour is the one in force now.
            *c += colour_.empty() ? kDefaultColourText : std::string_view(colour_);
            *c += '|';
            run = trimLeft(run);
            lineOpen = 1;
        } else if (!c->empty() && isBlank(c->back())) {
            run = trimLeft(run);
        } else if (afterLineEnd && !isBlank(run.front())) {
            *c += ' ';
        }
        *c += run;
    }

    // The cell of the current display line, when one is open since the last SYNC.
    std::string* openLine() {
        const auto lang = static_cast<std::size_t>(active_);
        return slot_ >= 0 && resetAt_[lang] == generation_ && lineOpen_[lang] ? cell() : nullptr;
    }

    // The cell of the slot and language in force, or nothing after a SYNC that is ignored.
    // The first text a language gets after a SYNC replaces what an earlier SYNC of the
    // same tenth of a second left in that language's cell; other languages keep theirs.
    // A language's table is made when it first gets text.
    std::string* cell() {
        if (slot_ < 0) return nullptr;
        wrote_ = true;
        const auto lang = static_cast<std::size_t>(active_);
        auto& table = tables_.slots[lang];
        if (table.empty()) table.resize(static_cast<std::size_t>(tables_.lastSlot) + 1);
        std::uint32_t& index = table[static_cast<std::size_t>(slot_)];
        if (index == 0) {
            index = static_cast<std::uint32_t>(tables_.texts.size());
            tables_.texts.emplace_back();
        }
        std::string& text = tables_.texts[index];
        if (resetAt_[lang] != generation_) {
            text.clear();
            resetAt_[lang] = generation_;
            lineOpen_[lang] = 0;
        }
        return &text;
    }

    CaptionTables& tables_;
    std::vector<std::string> classes_;
    int active_ = 0;
    int slot_ = -1;
    bool seenSync_ = false;
    bool wrote_ = true;
    unsigned generation_ = 0;
    std::vector<unsigned> resetAt_;
    // Per language: its cell's last display line has its colour and text.
    std::vector<char> lineOpen_;
    std::string colour_;
};

// "&NBSP", "&Nbsp" and "&nbsp", with or without ";", become blanks, in one pass.
void replaceNbsp(std::string& cell) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < cell.size();) {
        const std::string_view name = std::string_view(cell).substr(i + 1, 4);
        if (cell[i] == '&' && (name == "NBSP" || name == "Nbsp" || name == "nbsp")) {
            cell[kept++] = ' ';
            i += 5;
            if (i < cell.size() && cell[i] == ';') ++i;
        } else {
            cell[kept++] = cell[i++];
        }
    }
    cell.resize(kept);
}

void cleanCell(std::string& cell) {
    trimInPlace(cell);
    replaceAll(cell, "\n\n", "\n");
    if (cell.size() > kEndMark.size() && cell.find(kEndMark) != std::string::npos)
        replaceAll(cell, kEndMark, " ");
    if (cell.find('&') != std::string::npos) {
        replaceNbsp(cell);
        cell = decodeCharacterReferences(cell);
    }
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
    LanguageFinder finder(tables);
    readSamiTokens(utf8, divideLength_, finder);
    SlotFiller filler(tables, finder.finish());
    readSamiTokens(utf8, divideLength_, filler);
    filler.finish();
    cleanTables(tables);
    return tables;
}

std::string decodeCaptionText(std::string_view bytes, const text::TextEncoding& encoding) {
    std::string text = text::decode(bytes, encoding);
    std::erase(text, '\0');
    return text;
}

}  // namespace orvalis
