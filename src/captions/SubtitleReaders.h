#pragma once

#include <string>
#include <string_view>

#include "captions/SamiParser.h"

// The caption file formats besides SAMI: SubRip (.srt) and WebVTT (.vtt). Both are read
// into the slot tables a SAMI file gives, in one language.
namespace orvalis {

enum class CaptionFormat { Sami, SubRip, WebVtt };

struct TimedTextOptions {
    int divideLength = kDefaultDivideLength;
    // The language class of the file ("KRCC", ...), or "" for unknown. A WebVTT header that
    // names the language is used when this is empty.
    std::string languageCode;
};

// SubRip: blocks of an index line, a timing line "00:01:02,500 --> 00:01:04,000" and text
// lines, separated by blank lines. Real files are taken as they come: a missing blank line
// before the next index and timing, CRLF, "." for ",", missing hours, <i>, <b>, <font>
// and "{\an8}" in the text, cues overlapping or out of order.
CaptionTables parseSubRip(std::string_view utf8, const TimedTextOptions& options = {});

// WebVTT: a "WEBVTT" header, then cue blocks (an optional identifier, a timing line with
// optional settings, payload lines); NOTE, STYLE and REGION blocks are passed over. The
// same leniency as for SubRip.
CaptionTables parseWebVtt(std::string_view utf8, const TimedTextOptions& options = {});

// The format of a caption file: what its text shows when that is clear (a "WEBVTT" header,
// SYNC tags without timing arrows or the other way round), else its extension (".srt",
// ".vtt"; anything else is SAMI).
CaptionFormat detectCaptionFormat(std::string_view path, std::string_view utf8);

// The language class a file name gives before its extension ("film.ko.srt", "film.eng.vtt"),
// or "" when it names none.
std::string_view languageCodeOfFileName(std::string_view path);

}  // namespace orvalis
