#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "captions/SamiParser.h"

// Captions given as cues with a start and an end time (SubRip, WebVTT), turned into the same
// slot tables a SAMI file gives, so that the player looks them up, draws and adjusts them the
// same way.
namespace orvalis {

struct TimedCue {
    long long startMs = 0;
    // Not after startMs: the cue has no usable end and lasts until a later cue starts.
    long long endMs = 0;
    std::string text;  // display lines "colour|text" joined by "\n"
};

// The markup a cue's text may carry.
enum class CueMarkup { SubRip, WebVtt };

// A time "[hours:]minutes:seconds[,.]fraction" at the front of s, in milliseconds, with s
// advanced past it. Hours may have any number of digits; a time beyond the 24-hour bound of
// the caption tables reads as kLatestSyncMilliseconds + 1. Nothing when s holds no time.
std::optional<long long> readCueTime(std::string_view& s);

struct CueTiming {
    long long startMs = 0;
    long long endMs = 0;
};
// A timing line "start --> end [settings]"; nothing for any other line.
std::optional<CueTiming> parseTimingLine(std::string_view line);

// The display lines of a cue's text: tags and "{\...}" overrides taken out, the colour of
// <font color> or of a WebVTT colour class in force at a line's first character giving the
// line its colour (else the caption colour marker), character references decoded, blank lines
// dropped, a line longer than the divide length (in CP949 units) cut in two. At most
// kMaxCueLines lines of at most kMaxCueLineBytes each. "" when nothing is left to show.
std::string cueDisplayText(const std::vector<std::string_view>& lines, CueMarkup markup,
                           int divideLength);

// No screen shows more of one cue; longer text is cut on a character boundary.
inline constexpr std::size_t kMaxCueLineBytes = 2000;
inline constexpr int kMaxCueLines = 20;

// The slot tables of the cues, in one language (kUnknownLanguage when the code is empty).
// A cue's text stands in the slot of its start; while cues overlap, the slot holds the lines of
// every cue then shown, oldest first, newest kept when they are more than 20 lines; when the
// last shown cue ends and no other starts in that slot, the slot holds the end mark. Cues
// starting before 0 or beyond 24 hours are dropped; an end beyond 24 hours is cut there.
// Joined cells cost at most mergeBudget bytes in all; beyond that a slot shows the newest cue
// alone, so that no file can make the tables grow much beyond its own size.
CaptionTables tablesFromCues(std::vector<TimedCue> cues, std::string_view languageCode,
                             std::size_t mergeBudget);

}  // namespace orvalis
