#pragma once

#include <cstdint>
#include <span>
#include <string_view>

// Caption lines carry their colour as text: six hexadecimal digits RRGGBB or a colour
// name. Drawing turns that text into a colour value.
namespace orvalis {

struct NamedColour {
    std::string_view name;  // lower case
    std::uint32_t rgb;      // 0xRRGGBB, the order in which caption files write colours
};

// The 122 names a caption file may use. Some values differ from other common colour lists
// ("grey" BEBEBE, "green" 00FF00, "lightgreen" 20B2AA, "maroon" B03060); only the "grey"
// spellings are known.
std::span<const NamedColour> captionColourNames();

// A colour value 0x00BBGGRR for caption colour text. Case and blanks do not matter; six
// hexadecimal digits come first, then the names; anything else is white. Never fails.
std::uint32_t colourFromText(std::string_view text);

}  // namespace orvalis
