#include "captions/ColourNames.h"

#include <array>
#include <string>

#include "base/TextCodec.h"

namespace orvalis {

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;

// clang-format off
constexpr std::array<NamedColour, 122> kNames{{
    {"snow", 0xFFFAFA}, {"ghostwhite", 0xF8F8FF}, {"whitesmoke", 0xF5F5F5},
    {"floralwhite", 0xFFFAF0}, {"papayawhip", 0xFFEFD5}, {"moccasin", 0xFFE4B5},
    {"cornsilk", 0xFFF8DC}, {"ivory", 0xFFFFF0}, {"bisque", 0xFFE4C4},
    {"lemonchiffon", 0xFFFACD}, {"seashell", 0xFFF5EE}, {"honeydew", 0xF0FFF0},
    {"mintcream", 0xF5FFFA}, {"azure", 0xF0FFFF}, {"aliceblue", 0xF0F8FF},
    {"lavender", 0xE6E6FA}, {"lavenderblush", 0xFFF0F5}, {"mistyrose", 0xFFE4E1},
    {"white", 0xFFFFFF}, {"black", 0x000000}, {"darkslategrey", 0x2F4F4F},
    {"dimgrey", 0x696969}, {"slategrey", 0x708090}, {"lightslategrey", 0x778899},
    {"grey", 0xBEBEBE}, {"lightgrey", 0xD3D3D3}, {"midnightblue", 0x191970},
    {"navyblue", 0x000080}, {"navy", 0x000080}, {"lightnavy", 0x8080FF},
    {"cornflowerblue", 0x6495ED}, {"darkslateblue", 0x483D8B}, {"slateblue", 0x6A5ACD},
    {"mediumslateblue", 0x7B68EE}, {"lightslateblue", 0x8470FF}, {"mediumblue", 0x0000CD},
    {"royalblue", 0x4169E1}, {"blue", 0x0000FF}, {"dodgerblue", 0x1E90FF},
    {"deepskyblue", 0x00BFFF}, {"skyblue", 0x87CEEB}, {"lightskyblue", 0x87CEFA},
    {"steelblue", 0x4682B4}, {"lightsteelblue", 0xB0C4DE}, {"lightblue", 0xADD8E6},
    {"powderblue", 0xB0E0E6}, {"paleturquoise", 0xAFEEEE}, {"darkturquoise", 0x00CED1},
    {"mediumturquoise", 0x48D1CC}, {"turquoise", 0x40E0D0}, {"cyan", 0x00FFFF},
    {"lightcyan", 0xE0FFFF}, {"cadetblue", 0x5F9EA0}, {"mediumaquamarine", 0x66CDAA},
    {"aquamarine", 0x7FFFD4}, {"darkgreen", 0x006400}, {"darkolivegreen", 0x556B2F},
    {"darkseagreen", 0x8FBC8F}, {"seagreen", 0x2E8B57}, {"mediumseagreen", 0x3CB371},
    {"lightgreen", 0x20B2AA}, {"palegreen", 0x98FB98}, {"springgreen", 0x00FF7F},
    {"lawngreen", 0x7CFC00}, {"green", 0x00FF00}, {"chartreuse", 0x7FFF00},
    {"mediumspringgreen", 0x00FA9A}, {"greenyellow", 0xADFF2F}, {"limegreen", 0x32CD32},
    {"yellowgreen", 0x9ACD32}, {"forestgreen", 0x228B22}, {"olivedrab", 0x6B8E23},
    {"darkkhaki", 0xBDB76B}, {"khaki", 0xF0E68C}, {"palegoldenrod", 0xEEE8AA},
    {"lightyellow", 0xFFFFE0}, {"yellow", 0xFFFF00}, {"gold", 0xFFD700},
    {"lightgoldenrod", 0xEEDD82}, {"goldenrod", 0xDAA520}, {"darkgoldenrod", 0xB8860B},
    {"rosybrown", 0xBC8F8F}, {"indianred", 0xCD5C5C}, {"saddlebrown", 0x8B4513},
    {"sienna", 0xA0522D}, {"peru", 0xCD853F}, {"burlywood", 0xDEB887},
    {"beige", 0xF5F5DC}, {"wheat", 0xF5DEB3}, {"sandybrown", 0xF4A460},
    {"tan", 0xD2B48C}, {"chocolate", 0xD2691E}, {"firebrick", 0xB22222},
    {"brown", 0xA52A2A}, {"darksalmon", 0xE9967A}, {"salmon", 0xFA8072},
    {"lightsalmon", 0xFFA07A}, {"orange", 0xFFA500}, {"darkorange", 0xFF8C00},
    {"coral", 0xFF7F50}, {"lightcoral", 0xF08080}, {"tomato", 0xFF6347},
    {"orangered", 0xFF4500}, {"red", 0xFF0000}, {"hotpink", 0xFF69B4},
    {"deeppink", 0xFF1493}, {"pink", 0xFFC0CB}, {"lightpink", 0xFFB6C1},
    {"palevioletred", 0xDB7093}, {"maroon", 0xB03060}, {"mediumvioletred", 0xC71585},
    {"violetred", 0xD02090}, {"magenta", 0xFF00FF}, {"violet", 0xEE82EE},
    {"mediumorchid", 0xBA55D3}, {"darkorchid", 0x9932CC}, {"darkviolet", 0x9400D3},
    {"blueviolet", 0x8A2BE2}, {"purple", 0xA020F0}, {"mediumpurple", 0x9370DB},
    {"thistle", 0xD8BFD8}, {"aqua", 0x00FFFF},
}};
// clang-format on

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// RRGGBB to the colour value's byte order, BBGGRR.
constexpr std::uint32_t swapRedBlue(std::uint32_t rgb) {
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

}  // namespace

std::span<const NamedColour> captionColourNames() {
    return kNames;
}

std::uint32_t colourFromText(std::string_view text) {
    std::string folded;
    folded.reserve(text.size());
    for (char c : text)
        if (c != ' ') folded += c;
    folded = text::toLowerAscii(text::trimWhitespace(folded));

    if (folded.size() == 6) {
        std::uint32_t rgb = 0;
        bool hex = true;
        for (char c : folded) {
            int d = hexDigit(c);
            if (d < 0) {
                hex = false;
                break;
            }
            rgb = rgb << 4 | static_cast<std::uint32_t>(d);
        }
        if (hex) return swapRedBlue(rgb);
    }
    for (const NamedColour& entry : kNames)
        if (entry.name == folded) return swapRedBlue(entry.rgb);
    return kWhite;
}

}  // namespace orvalis
