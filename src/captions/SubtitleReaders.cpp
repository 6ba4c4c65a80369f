#include "captions/SubtitleReaders.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "base/Naming.h"
#include "base/TextCodec.h"
#include "captions/CaptionLanguages.h"
#include "captions/TimedCues.h"

namespace orvalis {

namespace {

// Lines of a cue beyond these are not read: tags alone may fill some, and no more than 20
// display lines are shown.
constexpr std::size_t kMaxPayloadLines = 100;
// Cells joined from overlapping cues may cost this much besides four times the file's size.
constexpr std::size_t kMergeAllowance = std::size_t(1) << 20;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The lines of a text; "\n", "\r\n" and a lone "\r" all end a line.
std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n' && text[i] != '\r') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

bool isBlankLine(std::string_view line) {
    return text::trimWhitespace(line).empty();
}

bool allDigits(std::string_view line) {
    line = text::trimWhitespace(line);
    if (line.empty()) return false;
    for (char c : line)
        if (c < '0' || c > '9') return false;
    return true;
}

std::string_view withoutMark(std::string_view s) {
    if (s.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        s.remove_prefix(kByteOrderMark.size());
    return s;
}

// How the cues of a format end.
enum class CueEnd {
    // At the next timing line; the number just before it is the next cue's. Blank lines
    // inside a cue's text stay in it, as SubRip readers take them.
    NextTiming,
    // At a blank line.
    BlankLine,
};

// The cues of the lines from `first` on. A timing line starts a cue; a line of digits right
// before a timing line is the next cue's number even without a blank line before it. A line
// with an arrow that is no timing line ends the cue, and what follows it up to the next
// timing line belongs to none.
std::vector<TimedCue> readCues(const std::vector<std::string_view>& lines, std::size_t first,
                               CueMarkup markup, CueEnd cueEnd, int divideLength) {
    std::vector<TimedCue> cues;
    std::optional<CueTiming> open;
    std::vector<std::string_view> payload;
    auto flush = [&] {
        if (open) {
            std::string text = cueDisplayText(payload, markup, divideLength);
            if (!text.empty()) cues.push_back({open->startMs, open->endMs, std::move(text)});
        }
        open.reset();
        payload.clear();
    };
    for (std::size_t i = first; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (std::optional<CueTiming> timing = parseTimingLine(line)) {
            flush();
            open = timing;
            continue;
        }
        if (line.find("-->") != std::string_view::npos) {
            flush();
            continue;
        }
        if (isBlankLine(line)) {
            if (cueEnd == CueEnd::BlankLine) flush();
            continue;
        }
        // Outside a cue: a cue number or identifier, a NOTE, STYLE or REGION block, or stray
        // text between cues.
        if (!open) continue;
        const bool beforeTiming = i + 1 < lines.size() && parseTimingLine(lines[i + 1]);
        if (beforeTiming && allDigits(line)) continue;
        if (payload.size() < kMaxPayloadLines) payload.push_back(line);
    }
    flush();
    return cues;
}

std::size_t mergeBudgetFor(std::string_view text) {
    return text.size() * 4 + kMergeAllowance;
}

// "<sync" in any letter case.
bool hasSyncTag(std::string_view text) {
    constexpr std::string_view kSync = "sync";
    for (std::size_t at = text.find('<'); at != std::string_view::npos;
         at = text.find('<', at + 1)) {
        const std::string_view name = text.substr(at + 1, kSync.size());
        if (std::equal(name.begin(), name.end(), kSync.begin(), kSync.end(),
                       [](char a, char b) { return (a | 0x20) == b; }))
            return true;
    }
    return false;
}

std::string extensionOf(std::string_view path) {
    const std::string_view name = fileNamePart(path);
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string() : text::toLowerAscii(name.substr(dot));
}

}  // namespace

CaptionTables parseSubRip(std::string_view utf8, const TimedTextOptions& options) {
    const std::vector<std::string_view> lines = linesOf(withoutMark(utf8));
    return tablesFromCues(
        readCues(lines, 0, CueMarkup::SubRip, CueEnd::NextTiming, options.divideLength),
        options.languageCode, mergeBudgetFor(utf8));
}

CaptionTables parseWebVtt(std::string_view utf8, const TimedTextOptions& options) {
    const std::vector<std::string_view> lines = linesOf(withoutMark(utf8));
    std::string_view language = options.languageCode;
    std::size_t first = 0;
    // The header: "WEBVTT" and lines up to the first blank, which may name the language.
    if (!lines.empty() && lines[0].substr(0, 6) == "WEBVTT") {
        for (first = 1; first < lines.size() && !isBlankLine(lines[first]); ++first) {
            const std::string_view line = lines[first];
            if (parseTimingLine(line)) break;
            const std::size_t colon = line.find(':');
            if (language.empty() && colon != std::string_view::npos &&
                text::toLowerAscii(text::trimWhitespace(line.substr(0, colon))) == "language")
                language = languageClassOfTag(line.substr(colon + 1));
        }
    }
    return tablesFromCues(
        readCues(lines, first, CueMarkup::WebVtt, CueEnd::BlankLine, options.divideLength),
        language, mergeBudgetFor(utf8));
}

CaptionFormat detectCaptionFormat(std::string_view path, std::string_view utf8) {
    const std::string_view start = text::trimWhitespace(withoutMark(utf8).substr(0, 64));
    if (start.substr(0, 6) == "WEBVTT") return CaptionFormat::WebVtt;
    const std::string extension = extensionOf(path);
    const bool sync = hasSyncTag(utf8);
    const bool arrow = utf8.find("-->") != std::string_view::npos;
    if (sync && !arrow) return CaptionFormat::Sami;
    if (arrow && !sync) return extension == ".vtt" ? CaptionFormat::WebVtt : CaptionFormat::SubRip;
    if (extension == ".srt") return CaptionFormat::SubRip;
    if (extension == ".vtt") return CaptionFormat::WebVtt;
    return CaptionFormat::Sami;
}

std::string_view languageCodeOfFileName(std::string_view path) {
    const std::string_view name = fileNamePart(path);
    const std::string_view title = name.substr(0, std::min(name.rfind('.'), name.size()));
    const std::size_t dot = title.rfind('.');
    if (dot == std::string_view::npos || dot == 0) return {};
    return languageClassOfName(title.substr(dot + 1));
}

}  // namespace orvalis
