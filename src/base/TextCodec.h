#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Text inside the program is UTF-8. Files from outside are decoded by one rule: a
// byte-order mark decides UTF-8 or UTF-16; otherwise valid UTF-8 stays UTF-8 and anything
// else is read as CP949 (the Korean code page the older files were written in). A file that
// is UTF-8 apart from a few lines (one edited in an old editor) reads those lines as CP949.
// Lengths counted "in bytes" by the player's rules are counted in CP949 units: 1 for an
// ASCII character, 2 for any other, so a CP949 file behaves as it always did and no cut
// ever falls inside a character.
namespace orvalis::text {

enum class Encoding {
    Utf8Bom,
    Utf16LE,
    Utf16BE,
    Utf8,
    Cp949,
    // The older encodings of Japanese, Chinese and Western European text.
    ShiftJis,
    EucJp,
    Gb18030,
    Big5,
    Windows1252,
};

// Utf8 also for a text that is UTF-8 apart from a few lines.
Encoding detectEncoding(std::string_view bytes);

// Decodes by the rule above. Bytes that cannot be decoded become U+FFFD.
std::string decode(std::string_view bytes);
// In UTF-8, the lines that are not UTF-8 are read in otherLines, else in CP949.
std::string decode(std::string_view bytes, Encoding encoding,
                   Encoding otherLines = Encoding::Cp949);

// How a text is best read: its encoding, and for UTF-8 that of the lines that are not.
struct TextEncoding {
    Encoding encoding = Encoding::Utf8;
    Encoding otherLines = Encoding::Cp949;
    bool operator==(const TextEncoding&) const = default;
};
// The rule above, except that a text that is neither UTF-8 nor Korean is recognised (by its
// statistics) among the older Japanese, Chinese and Western encodings. CP949 when in doubt.
TextEncoding guessEncoding(std::string_view bytes);
std::string decode(std::string_view bytes, const TextEncoding& encoding);

// "UTF-8", "CP949", "Shift-JIS", "EUC-JP", "GB18030", "Big5", "Windows-1252", ...
std::string_view encodingName(Encoding encoding);
// The encoding of a name or a common alias of it ("euc-kr", "sjis", "latin1"), in any case.
std::optional<Encoding> encodingNamed(std::string_view name);

bool isValidUtf8(std::string_view bytes);

// CP949 bytes of a UTF-8 text, or nothing when a character has no CP949 form.
std::optional<std::string> toCp949(std::string_view utf8);

// Appends the UTF-8 form of one code point.
void appendUtf8(std::string& out, char32_t codePoint);

// Length of a UTF-8 sequence starting with this lead byte (1 for a stray byte).
std::size_t utf8SequenceLength(unsigned char lead);

// CP949 units of a UTF-8 text.
std::size_t cp949Units(std::string_view utf8);

// The longest prefix of a UTF-8 text that is at most maxUnits CP949 units long, cut on a
// character boundary.
std::string_view prefixWithinUnits(std::string_view utf8, std::size_t maxUnits);

// "&", "<" and ">" (and with quotes '"') written as character references.
std::string escapeMarkup(std::string_view s, bool quotes = false);

std::string toLowerAscii(std::string_view s);
std::string toUpperAscii(std::string_view s);
std::string_view trimWhitespace(std::string_view s);

}  // namespace orvalis::text
