#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Text inside the program is UTF-8. Files from outside are decoded by one rule: a
// byte-order mark decides UTF-8 or UTF-16; otherwise valid UTF-8 stays UTF-8 and anything
// else is read as CP949 (the Korean code page the older files were written in).
// Lengths counted "in bytes" by the player's rules are counted in CP949 units: 1 for an
// ASCII character, 2 for any other, so a CP949 file behaves as it always did and no cut
// ever falls inside a character.
namespace orvalis::text {

enum class Encoding { Utf8Bom, Utf16LE, Utf16BE, Utf8, Cp949 };

Encoding detectEncoding(std::string_view bytes);

// Decodes by the rule above. Bytes that cannot be decoded become U+FFFD.
std::string decode(std::string_view bytes);
std::string decode(std::string_view bytes, Encoding encoding);

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

std::string toLowerAscii(std::string_view s);
std::string toUpperAscii(std::string_view s);
std::string_view trimWhitespace(std::string_view s);

}  // namespace orvalis::text
