#include "captions/TimedCues.h"

#include <algorithm>
#include <array>
#include <set>
#include <unordered_map>

#include "base/TextCodec.h"
#include "captions/CharacterReferences.h"
#include "captions/SplitPoint.h"
#include "captions/TextEdits.h"

namespace orvalis {

namespace {

constexpr long long kBeyond = kLatestSyncMilliseconds + 1;
// A colour is six digits or a name of at most 17 letters, as in SAMI files.
constexpr std::size_t kLongestColourText = 20;
// Deeper nesting than this is no caption; further colours are not stacked.
constexpr std::size_t kDeepestColours = 32;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

void skipBlanks(std::string_view& s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
}

// Leading digits as a number, held below a bound that no sum of times can overflow.
int readDigits(std::string_view& s, long long& value) {
    int count = 0;
    value = 0;
    while (!s.empty() && isDigit(s.front())) {
        if (value < 1'000'000'000) value = value * 10 + (s.front() - '0');
        s.remove_prefix(1);
        ++count;
    }
    return count;
}

// ---------------------------------------------------------------------------------------------
// Cue text

// The colour of the default WebVTT colour classes ("<c.yellow>").
std::string_view webVttClassColour(std::string_view classes) {
    struct Named {
        std::string_view name, rgb;
    };
    static constexpr std::array<Named, 8> kClasses{{{"white", "FFFFFF"},
                                                    {"lime", "00FF00"},
                                                    {"cyan", "00FFFF"},
                                                    {"red", "FF0000"},
                                                    {"yellow", "FFFF00"},
                                                    {"magenta", "FF00FF"},
                                                    {"blue", "0000FF"},
                                                    {"black", "000000"}}};
    while (!classes.empty()) {
        std::size_t dot = classes.find('.');
        std::string_view one = classes.substr(0, dot);
        for (const Named& c : kClasses)
            if (text::toLowerAscii(one) == c.name) return c.rgb;
        if (dot == std::string_view::npos) break;
        classes.remove_prefix(dot + 1);
    }
    return {};
}

// The colour text of a <font> tag's body: the value of its color attribute, upper-cased,
// without quotes and "#". Nothing when it names no colour.
std::optional<std::string> fontColour(std::string_view body) {
    const std::string lower = text::toLowerAscii(body);
    std::size_t at = lower.find("color");
    if (at == std::string::npos) return std::nullopt;
    std::string_view rest = body.substr(at + 5);
    skipBlanks(rest);
    if (rest.empty() || rest.front() != '=') return std::nullopt;
    rest.remove_prefix(1);
    skipBlanks(rest);
    char quote = 0;
    if (!rest.empty() && (rest.front() == '"' || rest.front() == '\'')) {
        quote = rest.front();
        rest.remove_prefix(1);
    }
    std::string colour;
    for (char c : rest) {
        if (quote ? c == quote : (isBlank(c) || c == '"' || c == '\'')) break;
        if (c == '#' || c == '|' || isBlank(c)) continue;
        if (colour.size() >= kLongestColourText) break;
        colour += c;
    }
    // Only ASCII colour texts: a cut could otherwise fall inside a character.
    if (colour.empty() || !std::all_of(colour.begin(), colour.end(),
                                       [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::nullopt;
    return text::toUpperAscii(colour);
}

// The next place of a byte at or after a position that only grows. Each search starts past
// the last place found, so a line costs one pass whatever its brackets.
class NextByte {
public:
    NextByte(std::string_view text, char byte) : text_(text), byte_(byte) {}
    std::size_t from(std::size_t at) {
        if (known_ != std::string_view::npos && known_ >= at) return known_;
        if (exhausted_) return std::string_view::npos;
        known_ = text_.find(byte_, at);
        exhausted_ = known_ == std::string_view::npos;
        return known_;
    }

private:
    std::string_view text_;
    char byte_;
    std::size_t known_ = std::string_view::npos;
    bool exhausted_ = false;
};

// Reads the text lines of one cue, keeping the colour in force across them.
class CueTextReader {
public:
    CueTextReader(CueMarkup markup, int divideLength)
        : markup_(markup), divideLength_(std::max(divideLength, 0)) {}

    void line(std::string_view raw) {
        if (lines_ >= kMaxCueLines) return;
        NextByte opens(raw, '<'), closes(raw, '>'), braces(raw, '}');
        for (std::size_t i = 0; i < raw.size();) {
            const char c = raw[i];
            if (c == '<') {
                const std::size_t close = closes.from(i + 1);
                if (close != std::string_view::npos && opens.from(i + 1) > close &&
                    tag(raw.substr(i + 1, close - i - 1))) {
                    i = close + 1;
                    continue;
                }
            } else if (c == '{' && i + 1 < raw.size() && raw[i + 1] == '\\') {
                if (std::size_t end = braces.from(i); end != std::string_view::npos) {
                    i = end + 1;
                    continue;
                }
            }
            if (!colour_ && !isBlank(c)) colour_ = currentColour();
            // Whole characters only: a character begun before the limit is finished.
            const auto byte = static_cast<unsigned char>(c);
            if ((byte & 0xC0) != 0x80) lineFull_ = plain_.size() >= kLongestPlainLine;
            if (!lineFull_) plain_ += byte < 0x20 ? ' ' : c;
            ++i;
        }
        finishLine();
    }

    std::string take() { return std::move(out_); }

private:
    // References and blanks may still shrink a line this long to what is kept of it.
    static constexpr std::size_t kLongestPlainLine = 4 * kMaxCueLineBytes;

    // Handles a tag's body (between "<" and ">"); false when it is no tag of the markup, and
    // the "<" is text ("a < b", "<<제목>>").
    bool tag(std::string_view body) {
        const bool closing = !body.empty() && body.front() == '/';
        if (closing) body.remove_prefix(1);
        if (markup_ == CueMarkup::WebVtt && !body.empty() && isDigit(body.front()))
            return true;  // a karaoke time "<00:01:02.500>"
        std::size_t nameEnd = 0;
        while (nameEnd < body.size() && isLetter(body[nameEnd])) ++nameEnd;
        if (nameEnd < body.size() && !isBlank(body[nameEnd]) && body[nameEnd] != '.' &&
            body[nameEnd] != '/')
            return false;
        const std::string name = text::toLowerAscii(body.substr(0, nameEnd));
        static constexpr std::array<std::string_view, 6> kSubRipTags{"i", "b",    "u",
                                                                     "s", "font", "br"};
        static constexpr std::array<std::string_view, 5> kWebVttTags{"c", "v", "lang", "ruby",
                                                                     "rt"};
        const bool known =
            std::find(kSubRipTags.begin(), kSubRipTags.end(), name) != kSubRipTags.end() ||
            (markup_ == CueMarkup::WebVtt &&
             std::find(kWebVttTags.begin(), kWebVttTags.end(), name) != kWebVttTags.end());
        if (!known) return false;
        if (name == "br") {
            finishLine();
        } else if (name == "font" || name == "c") {
            colourTag(name, body.substr(nameEnd), closing);
        }
        return true;
    }

    void colourTag(std::string_view name, std::string_view rest, bool closing) {
        if (closing) {
            if (!colours_.empty()) colours_.pop_back();
            return;
        }
        std::optional<std::string> colour;
        if (name == "font") {
            colour = fontColour(rest);
        } else if (!rest.empty() && rest.front() == '.') {
            std::string_view classes = rest.substr(1);
            classes = classes.substr(0, std::min(classes.find(' '), classes.size()));
            if (std::string_view rgb = webVttClassColour(classes); !rgb.empty())
                colour = std::string(rgb);
        }
        // A tag without a colour keeps the one in force, so that its end restores it.
        if (colours_.size() < kDeepestColours)
            colours_.push_back(colour ? *colour : currentColour());
    }

    std::string currentColour() const {
        return colours_.empty() ? std::string(kDefaultColourText) : colours_.back();
    }

    // The line read so far becomes display lines.
    void finishLine() {
        std::string plain = std::move(plain_);
        const std::string colour = colour_ ? *colour_ : std::string(kDefaultColourText);
        plain_.clear();
        colour_.reset();
        lineFull_ = false;
        replaceAll(plain, "&lrm;", "\u200E");
        replaceAll(plain, "&rlm;", "\u200F");
        if (plain.find('&') != std::string::npos) plain = decodeCharacterReferences(plain);
        std::string_view text = text::trimWhitespace(plain);
        if (text.empty()) return;
        if (text.size() > kMaxCueLineBytes) {
            std::size_t cut = kMaxCueLineBytes;
            while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
            text = text.substr(0, cut);
        }
        if (text::cp949Units(text) > static_cast<std::size_t>(divideLength_)) {
            auto [first, second] = splitInTwo(text);
            append(colour, text::trimWhitespace(first));
            append(colour, text::trimWhitespace(second));
        } else {
            append(colour, text);
        }
    }

    void append(const std::string& colour, std::string_view text) {
        if (text.empty() || lines_ >= kMaxCueLines) return;
        if (!out_.empty()) out_ += '\n';
        out_ += colour;
        out_ += '|';
        out_ += text;
        ++lines_;
    }

    CueMarkup markup_;
    int divideLength_;
    std::vector<std::string> colours_;
    std::string plain_;  // the display line being read
    bool lineFull_ = false;
    std::optional<std::string> colour_;  // the colour at its first character
    std::string out_;
    int lines_ = 0;
};

// ---------------------------------------------------------------------------------------------
// Slot tables

// When each cue stops being shown, in milliseconds, for cues sorted by start; -1 for never. A
// cue that ends before it starts stops where the next later cue starts.
std::vector<long long> endsOf(const std::vector<TimedCue>& cues) {
    std::vector<long long> ends(cues.size(), -1);
    long long laterStart = -1;  // the first start after the current one, walking backwards
    for (std::size_t k = cues.size(); k-- > 0;) {
        const TimedCue& cue = cues[k];
        ends[k] =
            cue.endMs > cue.startMs ? std::min(cue.endMs, kLatestSyncMilliseconds) : laterStart;
        if (k > 0 && cues[k - 1].startMs != cue.startMs) laterStart = cue.startMs;
    }
    return ends;
}

// A cue starting or ending, at a time in milliseconds.
struct Change {
    long long ms;
    bool starts;
    std::size_t cue;
    int slot() const { return static_cast<int>(ms / 100); }
};

// Fills the one language table of the cues, slot by slot in time order.
class SlotWriter {
public:
    SlotWriter(CaptionTables& tables, const std::vector<TimedCue>& cues, std::size_t mergeBudget)
        : tables_(tables), cues_(cues), cueCells_(cues.size(), 0), budget_(mergeBudget) {
        tables_.texts.emplace_back();
    }

    // The changes of one slot, in time order: the slot shows what is shown after them. A cue
    // that came and went within the slot still shows there, for a tenth of a second, when
    // nothing else does.
    void slot(int slot, const std::vector<Change>& changes) {
        if (flashEnd_ >= 0 && flashEnd_ < slot) put(flashEnd_, intern(std::string(kEndMark)));
        flashEnd_ = -1;
        std::optional<std::size_t> started;
        for (const Change& c : changes) {
            if (c.starts) {
                shown_.insert(c.cue);
                started = c.cue;
            } else {
                shown_.erase(c.cue);
            }
        }
        if (!shown_.empty()) {
            put(slot,
                shown_.size() == 1 || budget_ == 0 ? single(*shown_.rbegin()) : intern(joined()));
        } else if (started) {
            put(slot, single(*started));
            flashEnd_ = slot + 1;
        } else {
            put(slot, intern(std::string(kEndMark)));
        }
    }

    void finish() {
        if (flashEnd_ >= 0) put(flashEnd_, intern(std::string(kEndMark)));
        auto& table = tables_.slots[0];
        while (!table.empty() && table.back() == 0) table.pop_back();
        tables_.lastSlot = static_cast<int>(table.size()) - 1;
    }

private:
    void put(int slot, std::uint32_t index) {
        auto& table = tables_.slots[0];
        const auto at = static_cast<std::size_t>(slot);
        if (table.size() <= at) table.resize(at + 1);
        table[at] = index;
    }

    std::uint32_t single(std::size_t cue) {
        if (cueCells_[cue] == 0) cueCells_[cue] = intern(cues_[cue].text);
        return cueCells_[cue];
    }

    // The lines of the cues shown together, oldest first, the newest kept within the line limit.
    std::string joined() {
        std::vector<std::size_t> taken;
        std::size_t lines = 0;
        for (auto it = shown_.rbegin(); it != shown_.rend() && lines < kMaxCueLines; ++it) {
            taken.push_back(*it);
            lines += 1 + std::count(cues_[*it].text.begin(), cues_[*it].text.end(), '\n');
        }
        std::string cell;
        for (auto it = taken.rbegin(); it != taken.rend(); ++it) {
            if (!cell.empty()) cell += '\n';
            cell += cues_[*it].text;
        }
        budget_ -= std::min(budget_, cell.size());
        return cell;
    }

    std::uint32_t intern(std::string cell) {
        auto [it, added] =
            known_.try_emplace(std::move(cell), static_cast<std::uint32_t>(tables_.texts.size()));
        if (added) tables_.texts.push_back(it->first);
        return it->second;
    }

    CaptionTables& tables_;
    const std::vector<TimedCue>& cues_;
    std::vector<std::uint32_t> cueCells_;
    std::unordered_map<std::string, std::uint32_t> known_;
    std::size_t budget_;
    std::set<std::size_t> shown_;  // by start order
    int flashEnd_ = -1;
};

}  // namespace

std::optional<long long> readCueTime(std::string_view& s) {
    std::string_view t = s;
    const bool negative = !t.empty() && t.front() == '-';
    if (negative) t.remove_prefix(1);
    std::array<long long, 3> groups{};
    int n = 0;
    for (;;) {
        if (readDigits(t, groups[static_cast<std::size_t>(n)]) == 0) return std::nullopt;
        ++n;
        if (n == 3 || t.size() < 2 || t[0] != ':' || !isDigit(t[1])) break;
        t.remove_prefix(1);
    }
    if (n < 2) return std::nullopt;
    long long fraction = 0;
    if (t.size() >= 2 && (t[0] == ',' || t[0] == '.') && isDigit(t[1])) {
        t.remove_prefix(1);
        int kept = 0;
        for (; !t.empty() && isDigit(t.front()); t.remove_prefix(1)) {
            if (kept < 3) {
                fraction = fraction * 10 + (t.front() - '0');
                ++kept;
            }
        }
        for (; kept < 3; ++kept) fraction *= 10;
    }
    const long long hours = n == 3 ? groups[0] : 0;
    const long long minutes = groups[static_cast<std::size_t>(n - 2)];
    const long long seconds = groups[static_cast<std::size_t>(n - 1)];
    const long long ms =
        std::min(((hours * 60 + minutes) * 60 + seconds) * 1000 + fraction, kBeyond);
    s = t;
    return negative ? -ms : ms;
}

std::optional<CueTiming> parseTimingLine(std::string_view line) {
    skipBlanks(line);
    std::optional<long long> start = readCueTime(line);
    if (!start) return std::nullopt;
    skipBlanks(line);
    if (line.substr(0, 3) != "-->") return std::nullopt;
    line.remove_prefix(3);
    skipBlanks(line);
    std::optional<long long> end = readCueTime(line);
    if (!end) return std::nullopt;
    return CueTiming{*start, *end};
}

std::string cueDisplayText(const std::vector<std::string_view>& lines, CueMarkup markup,
                           int divideLength) {
    CueTextReader reader(markup, divideLength);
    for (std::string_view line : lines) reader.line(line);
    return reader.take();
}

CaptionTables tablesFromCues(std::vector<TimedCue> cues, std::string_view languageCode,
                             std::size_t mergeBudget) {
    CaptionTables tables;
    tables.languageCodes.emplace_back(languageCode.empty() ? kUnknownLanguage : languageCode);
    tables.slots.emplace_back();
    // A cue that ends where it starts is never shown.
    std::erase_if(cues, [](const TimedCue& cue) {
        return cue.text.empty() || cue.startMs < 0 || cue.startMs > kLatestSyncMilliseconds ||
               cue.endMs == cue.startMs;
    });
    std::stable_sort(cues.begin(), cues.end(),
                     [](const TimedCue& a, const TimedCue& b) { return a.startMs < b.startMs; });
    const std::vector<long long> ends = endsOf(cues);

    std::vector<Change> changes;
    changes.reserve(cues.size() * 2);
    for (std::size_t i = 0; i < cues.size(); ++i) {
        changes.push_back({cues[i].startMs, true, i});
        if (ends[i] >= 0) changes.push_back({ends[i], false, i});
    }
    // In time order, a cue that ends before one that starts at the same moment.
    std::stable_sort(changes.begin(), changes.end(), [](const Change& a, const Change& b) {
        return a.ms != b.ms ? a.ms < b.ms : !a.starts && b.starts;
    });

    SlotWriter writer(tables, cues, mergeBudget);
    std::vector<Change> group;
    for (std::size_t i = 0; i < changes.size();) {
        const int slot = changes[i].slot();
        group.clear();
        for (; i < changes.size() && changes[i].slot() == slot; ++i) group.push_back(changes[i]);
        writer.slot(slot, group);
    }
    writer.finish();
    return tables;
}

}  // namespace orvalis
