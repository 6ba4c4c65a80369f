#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/SettingsKeys.h"
#include "base/TextCodec.h"

namespace orvalis {

// A cell that ends the caption shown until then.
inline constexpr std::string_view kEndMark = "_blank_";
// The colour text of a display line that takes the caption colour setting.
inline constexpr std::string_view kDefaultColourText = "F3E2C1";
// The one language of a file that names no known language class.
inline constexpr std::string_view kUnknownLanguage = "알 수 없음";
// Classes beyond these are not read as languages of their own (their text goes to the
// language in force before them), so that no file makes a table per class without bound.
inline constexpr int kMaxCaptionLanguages = 8;
inline constexpr int kDefaultDivideLength = keys::CaptionDivideLength.def();
// A SYNC start later than 24 hours (or before 0) is ignored with its text, so that no
// file can make the tables grow without bound.
inline constexpr long long kLatestSyncMilliseconds = 24LL * 3600 * 1000;

// The slot tables of one caption file: for each language, one cell per tenth of a second,
// indexed directly by media time. A cell is empty (nothing starts there), kEndMark, or
// display lines joined by "\n", each "colour|text".
struct CaptionTables {
    // Per language: "KRCC", "EGCC", "JPCC" or "FRCC" where known, else the file's own name of
    // it; or only kUnknownLanguage. Empty before any parse.
    std::vector<std::string> languageCodes;
    // The largest SYNC slot of the file; -1 when it has none.
    int lastSlot = -1;
    // Per language, lastSlot + 1 entries (none for a language without text): 0 for an empty
    // cell, else an index into texts.
    std::vector<std::vector<std::uint32_t>> slots;
    std::vector<std::string> texts;
    // What the reading had to leave out, for the user; "" when nothing.
    std::string notice;

    int languageCount() const { return static_cast<int>(languageCodes.size()); }
    // "" outside the tables.
    std::string_view cell(int language, int slot) const;
    // Bytes held by the tables and their texts.
    std::size_t memoryBytes() const;
};

// Turns the text of a SAMI caption file into slot tables: a first reading finds the languages
// (every class used on a P tag or declared in the style sheet) and the last SYNC, a second
// files the text runs under their language and slot, and the cells are cleaned. Each costs
// time in proportion to the file's size, whatever its shape.
class SamiParser {
public:
    explicit SamiParser(int divideLength = kDefaultDivideLength) : divideLength_(divideLength) {}
    CaptionTables parse(std::string_view utf8) const;

private:
    int divideLength_;
};

// The bytes of a caption file as UTF-8, in the encoding given or else the one they show (a
// byte-order mark, UTF-8, CP949, or one of the older Japanese, Chinese and Western
// encodings). NUL characters go.
std::string decodeCaptionText(std::string_view bytes, const text::TextEncoding& encoding);
inline std::string decodeCaptionText(std::string_view bytes) {
    return decodeCaptionText(bytes, text::guessEncoding(bytes));
}

}  // namespace orvalis
