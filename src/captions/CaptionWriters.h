#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "captions/SamiParser.h"
#include "captions/SubtitleReaders.h"

// Captions written out as files: the cues the player shows from its caption tables, in
// SubRip, WebVTT or SAMI, always UTF-8.
namespace orvalis {

// One display line of a cue: its colour as "RRGGBB", or "" for the caption colour setting.
struct CueLine {
    std::string colour;
    std::string text;
    bool operator==(const CueLine&) const = default;
};

struct CaptionCue {
    long long startMs = 0;
    long long endMs = 0;
    std::vector<CueLine> lines;
    bool operator==(const CaptionCue&) const = default;
};

// The cues of one language of the tables, as the player shows them: each caption from its
// slot to the next cell of the same language (a caption or an end mark), and at most for the
// caption hold, after which the player clears it, so the last caption of a file that never
// clears it ends then too. Colour names become the colour the player draws; empty lines go.
std::vector<CaptionCue> captionCues(const CaptionTables& tables, int language,
                                    int holdMilliseconds);

// The format a file is written in, by its extension (".srt", ".vtt", ".smi" or ".sami").
std::optional<CaptionFormat> outputFormatOf(std::string_view path);

// SubRip: numbered cues, colours as <font color="#RRGGBB">.
std::string writeSubRip(const std::vector<CaptionCue>& cues);
// WebVTT: colours that WebVTT names (<c.yellow>) kept, the others dropped.
std::string writeWebVtt(const std::vector<CaptionCue>& cues);

// SAMI with one class per language, each on its own timeline: a caption is cleared with
// "&nbsp;" when it ends, unless its language's next caption starts then. The language with
// no known class is written without one.
struct SamiTrack {
    std::string languageCode;  // "KRCC", "EGCC", ..., the file's own name, or kUnknownLanguage
    std::vector<CaptionCue> cues;
};
std::string writeSami(const std::vector<SamiTrack>& tracks);

// "hh:mm:ss" and the milliseconds after the separator: "01:02:03,450" in SubRip.
std::string cueTime(long long ms, char separator = ',');

// The divide length under which no caption line is ever cut in two: a file written out keeps
// its lines as they stand and leaves wrapping to the player that shows it.
inline constexpr int kNoLineDivide = 1 << 24;

}  // namespace orvalis
