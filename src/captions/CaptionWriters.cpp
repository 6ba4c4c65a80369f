#include "captions/CaptionWriters.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>

#include "base/Naming.h"
#include "base/TextCodec.h"
#include "captions/ColourNames.h"
#include "captions/TextEdits.h"

namespace orvalis {

namespace {

constexpr int kSlotMilliseconds = 100;

// The colour the player draws for a line's colour text, as "RRGGBB"; "" for the setting.
std::string drawnColour(std::string_view colourText) {
    if (colourText.empty() || text::toUpperAscii(colourText) == kDefaultColourText) return {};
    const std::uint32_t bgr = colourFromText(colourText);
    char rgb[8];
    std::snprintf(rgb, sizeof rgb, "%02X%02X%02X", bgr & 0xFF, (bgr >> 8) & 0xFF,
                  (bgr >> 16) & 0xFF);
    return rgb;
}

std::vector<CueLine> linesOfCell(std::string_view cell) {
    std::vector<CueLine> lines;
    while (!cell.empty()) {
        const std::size_t end = std::min(cell.find('\n'), cell.size());
        const std::string_view line = cell.substr(0, end);
        cell.remove_prefix(std::min(end + 1, cell.size()));
        const std::size_t bar = line.find('|');
        // Control characters show as nothing and would end a line in some formats: blanks.
        std::string words(bar == std::string_view::npos ? line : line.substr(bar + 1));
        for (char& c : words)
            if (static_cast<unsigned char>(c) < 0x20) c = ' ';
        const std::string_view kept = text::trimWhitespace(words);
        if (kept.empty()) continue;
        lines.push_back(
            {bar == std::string_view::npos ? std::string() : drawnColour(line.substr(0, bar)),
             std::string(kept)});
    }
    return lines;
}

}  // namespace

std::string cueTime(long long ms, char separator) {
    char fraction[8];
    std::snprintf(fraction, sizeof fraction, "%c%03lld", separator, ms % 1000);
    std::string clock = clockText(ms / 1000);
    return clock + fraction;
}

namespace {

void appendTiming(std::string& out, const CaptionCue& cue, char separator) {
    out += cueTime(cue.startMs, separator);
    out += " --> ";
    out += cueTime(cue.endMs, separator);
    out += '\n';
}

void appendFontLine(std::string& out, const CueLine& line, std::string_view text) {
    if (line.colour.empty()) {
        out += text;
        return;
    }
    out += "<font color=\"#";
    out += line.colour;
    out += "\">";
    out += text;
    out += "</font>";
}

// WebVTT's own colour classes.
std::string_view webVttClass(std::string_view rgb) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 8> kClasses{{
        {"FFFFFF", "white"},
        {"00FF00", "lime"},
        {"00FFFF", "cyan"},
        {"FF0000", "red"},
        {"FFFF00", "yellow"},
        {"FF00FF", "magenta"},
        {"0000FF", "blue"},
        {"000000", "black"},
    }};
    for (auto [value, name] : kClasses)
        if (value == rgb) return name;
    return {};
}

// The SAMI class of a language code, and how its style sheet declares it.
struct SamiClass {
    std::string name;  // "" for the language without a class
    std::string declaration;
};

SamiClass samiClassOf(std::string_view code) {
    struct Known {
        std::string_view code, name, declaration;
    };
    static constexpr std::array<Known, 4> kKnown{{
        {"KRCC", "KRCC", "Name:한국어; lang:ko-KR; SAMIType:CC;"},
        {"EGCC", "ENCC", "Name:English; lang:en-US; SAMIType:CC;"},
        {"JPCC", "JPCC", "Name:日本語; lang:ja-JP; SAMIType:CC;"},
        {"FRCC", "FRCC", "Name:Français; lang:fr-FR; SAMIType:CC;"},
    }};
    for (const Known& k : kKnown)
        if (k.code == code) return {std::string(k.name), std::string(k.declaration)};
    if (code == kUnknownLanguage) return {};
    // A class of the file's own: only the characters a class name may hold.
    std::string name;
    for (char c : code)
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
            c == '-' || c == '_')
            name += c;
    // A name of other letters only still needs a class of its own: only one language can
    // go without.
    if (name.empty()) name = "CC";
    return {name, "Name:" + name + "; SAMIType:CC;"};
}

struct SamiEvent {
    long long ms;
    std::size_t track;
    const CaptionCue* cue;  // nullptr: the track's caption is cleared
};

void appendSamiCue(std::string& out, const CaptionCue& cue) {
    for (std::size_t i = 0; i < cue.lines.size(); ++i) {
        if (i > 0) out += "<br>";
        appendFontLine(out, cue.lines[i], text::escapeMarkup(cue.lines[i].text));
    }
}

}  // namespace

std::vector<CaptionCue> captionCues(const CaptionTables& tables, int language,
                                    int holdMilliseconds) {
    std::vector<CaptionCue> cues;
    if (language < 0 || static_cast<std::size_t>(language) >= tables.slots.size()) return cues;
    const auto& table = tables.slots[static_cast<std::size_t>(language)];
    std::optional<CaptionCue> open;
    auto close = [&](long long endMs) {
        if (!open) return;
        open->endMs = std::min(endMs, open->startMs + holdMilliseconds);
        cues.push_back(std::move(*open));
        open.reset();
    };
    for (std::size_t slot = 0; slot < table.size(); ++slot) {
        const std::string_view cell = tables.texts[table[slot]];
        if (cell.empty()) continue;
        const long long ms = static_cast<long long>(slot) * kSlotMilliseconds;
        close(ms);
        if (cell == kEndMark) continue;
        std::vector<CueLine> lines = linesOfCell(cell);
        if (!lines.empty()) open = CaptionCue{ms, 0, std::move(lines)};
    }
    if (open) close(open->startMs + holdMilliseconds);
    return cues;
}

std::optional<CaptionFormat> outputFormatOf(std::string_view path) {
    const std::string_view name = fileNamePart(path);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return std::nullopt;
    const std::string extension = text::toLowerAscii(name.substr(dot));
    if (extension == ".srt") return CaptionFormat::SubRip;
    if (extension == ".vtt") return CaptionFormat::WebVtt;
    if (extension == ".smi" || extension == ".sami") return CaptionFormat::Sami;
    return std::nullopt;
}

std::string writeSubRip(const std::vector<CaptionCue>& cues) {
    std::string out;
    int number = 0;
    for (const CaptionCue& cue : cues) {
        out += std::to_string(++number);
        out += '\n';
        appendTiming(out, cue, ',');
        for (const CueLine& line : cue.lines) {
            // An arrow in the text would read as a timing line.
            std::string text = line.text;
            replaceAll(text, "-->", "--&gt;");
            appendFontLine(out, line, text);
            out += '\n';
        }
        out += '\n';
    }
    return out;
}

std::string writeWebVtt(const std::vector<CaptionCue>& cues) {
    std::string out = "WEBVTT\n\n";
    for (const CaptionCue& cue : cues) {
        appendTiming(out, cue, '.');
        for (const CueLine& line : cue.lines) {
            const std::string_view cls = webVttClass(line.colour);
            if (!cls.empty()) {
                out += "<c.";
                out += cls;
                out += '>';
            }
            out += text::escapeMarkup(line.text);
            if (!cls.empty()) out += "</c>";
            out += '\n';
        }
        out += '\n';
    }
    return out;
}

std::string writeSami(const std::vector<SamiTrack>& tracks) {
    std::vector<SamiClass> classes;
    std::vector<SamiEvent> events;
    for (std::size_t t = 0; t < tracks.size(); ++t) {
        SamiClass c = samiClassOf(tracks[t].languageCode);
        // Two languages of one code (ENCC and ENUSCC), or of names readers take for one
        // (classes are read without regard to case), stay apart.
        const std::string base = c.name;
        const auto taken = [&](const std::string& name) {
            return std::any_of(classes.begin(), classes.end(), [&](const SamiClass& o) {
                return text::toUpperAscii(o.name) == text::toUpperAscii(name);
            });
        };
        for (int n = 2; !c.name.empty() && taken(c.name); ++n) c.name = base + std::to_string(n);
        classes.push_back(std::move(c));
        const auto& cues = tracks[t].cues;
        for (std::size_t i = 0; i < cues.size(); ++i) {
            events.push_back({cues[i].startMs, t, &cues[i]});
            if (i + 1 == cues.size() || cues[i + 1].startMs != cues[i].endMs)
                events.push_back({cues[i].endMs, t, nullptr});
        }
    }
    // In time order; at one moment the tracks in their order, a clear before a caption.
    auto inOrder = [](const SamiEvent& a, const SamiEvent& b) {
        if (a.ms != b.ms) return a.ms < b.ms;
        if (a.track != b.track) return a.track < b.track;
        return a.cue == nullptr && b.cue != nullptr;
    };
    std::stable_sort(events.begin(), events.end(), inOrder);
    // Readers take the languages in the order their classes are first used, and the first is
    // the one shown. When a later track speaks first (or one never speaks), every track is
    // cleared at the start, in their order, so that the file keeps its languages' order.
    std::vector<std::size_t> firstUse;
    for (const SamiEvent& e : events)
        if (std::find(firstUse.begin(), firstUse.end(), e.track) == firstUse.end())
            firstUse.push_back(e.track);
    if (firstUse.size() != tracks.size() || !std::is_sorted(firstUse.begin(), firstUse.end())) {
        std::vector<SamiEvent> starts;
        for (std::size_t t = 0; t < tracks.size(); ++t)
            if (tracks[t].cues.empty() || tracks[t].cues.front().startMs != 0)
                starts.push_back({0, t, nullptr});
        events.insert(events.begin(), starts.begin(), starts.end());
        std::stable_sort(events.begin(), events.end(), inOrder);
    }

    std::string out =
        "<SAMI>\n<HEAD>\n<TITLE></TITLE>\n<STYLE TYPE=\"text/css\">\n<!--\n"
        "P { margin-left:8pt; margin-right:8pt; margin-bottom:2pt; margin-top:2pt;\n"
        "    text-align:center; font-size:20pt; font-family:sans-serif; }\n";
    for (const SamiClass& c : classes)
        if (!c.name.empty()) out += "." + c.name + " { " + c.declaration + " }\n";
    out += "-->\n</STYLE>\n</HEAD>\n<BODY>\n";
    for (std::size_t i = 0; i < events.size(); ++i) {
        const SamiEvent& e = events[i];
        if (i == 0 || events[i - 1].ms != e.ms) {
            if (i > 0) out += '\n';
            out += "<SYNC Start=" + std::to_string(e.ms) + ">";
        }
        const SamiClass& c = classes[e.track];
        out += c.name.empty() ? "<P>" : "<P Class=" + c.name + ">";
        if (e.cue)
            appendSamiCue(out, *e.cue);
        else
            out += "&nbsp;";
    }
    if (!events.empty()) out += '\n';
    out += "</BODY>\n</SAMI>\n";
    return out;
}

}  // namespace orvalis
