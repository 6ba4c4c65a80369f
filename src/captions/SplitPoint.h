#pragma once

#include <cstddef>
#include <string_view>
#include <utility>

// Where an over-long caption line is cut in two. Lengths count CP949 units (1 for an ASCII
// character, 2 for any other), so a line cuts where it always did when the caption file was
// CP949, and never inside a character.
namespace orvalis {

// The index k of the last byte of the first part of a UTF-8 text: the text is cut into
// bytes 0..k and k + 1..end. Near the middle, a blank, ".", ",", ")" or ";" ends the first
// part and "/" or "(" begins the second; without one, the cut falls at the middle on a
// character boundary. 0 for an empty text.
std::size_t findSplitPoint(std::string_view utf8);

// The two parts findSplitPoint gives.
std::pair<std::string_view, std::string_view> splitInTwo(std::string_view utf8);

}  // namespace orvalis
