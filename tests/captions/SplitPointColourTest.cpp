#include <gtest/gtest.h>

#include <random>
#include <set>
#include <sstream>

#include "app/TextCodec.h"
#include "captions/ColourNames.h"
#include "captions/SplitPoint.h"

using namespace orvalis;

namespace {

// The split as it was made on CP949 bytes: probes outward from the middle byte, then the
// middle on a character boundary, found by walking lead bytes from the start.
std::size_t cp949SplitPoint(const std::string& s) {
    if (s.empty()) return 0;
    const long m = static_cast<long>(s.size() / 2);
    for (long a = 0; a <= m / 2; ++a) {
        for (long d : {-a, a}) {
            if (m + d <= 0) continue;
            char c = s[static_cast<std::size_t>(m + d)];
            if (c == ' ' || c == '.' || c == ',' || c == ')' || c == ';') return m + d;
            if (c == '/' || c == '(') return m + d - 1;
        }
    }
    auto lead = [](char c) { return static_cast<unsigned char>(c) >= 0x81; };
    long i = 0;
    while (i < m) i += lead(s[i]) ? 2 : 1;
    return i == m && lead(s[m]) ? m - 1 : m;
}

std::uint32_t bgr(std::uint32_t rgb) {
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | (rgb >> 16);
}

}  // namespace

TEST(SplitPoint, CutsUtf8WhereCp949WasCut) {
    EXPECT_EQ(findSplitPoint(""), 0u);
    EXPECT_EQ(splitInTwo("abc def").first, "abc ");
    EXPECT_EQ(splitInTwo("가a나다").first, "가a");   // the middle unit begins 나
    EXPECT_EQ(splitInTwo("가나a다").first, "가나");  // the middle unit ends 나
    EXPECT_EQ(splitInTwo("hello/world").second, "/world");
    EXPECT_EQ(splitInTwo("가").first, "가");

    const char* pieces[] = {"a", "b",  " ",  ".",  ",",  ")", ";", "/",
                            "(", "가", "힣", "ㄱ", "漢", "─", "Ａ"};
    std::mt19937 random(7);
    for (int round = 0; round < 3000; ++round) {
        std::string utf8;
        for (int n = static_cast<int>(random() % 40); n > 0; --n) utf8 += pieces[random() % 15];
        const std::string cp949 = *text::toCp949(utf8);
        std::size_t k = findSplitPoint(utf8);
        ASSERT_LE(k, utf8.empty() ? 0 : utf8.size() - 1) << utf8;
        std::string first = utf8.substr(0, utf8.empty() ? 0 : k + 1);
        ASSERT_TRUE(text::isValidUtf8(first)) << utf8;  // never inside a character
        std::size_t reference = cp949SplitPoint(cp949);
        EXPECT_EQ(*text::toCp949(first), cp949.substr(0, cp949.empty() ? 0 : reference + 1))
            << utf8;
    }
}

TEST(ColourNames, EveryNameAndItsValue) {
    const std::string table =
        "snow FFFAFA ghostwhite F8F8FF whitesmoke F5F5F5 floralwhite FFFAF0 papayawhip FFEFD5 "
        "moccasin FFE4B5 cornsilk FFF8DC ivory FFFFF0 bisque FFE4C4 lemonchiffon FFFACD "
        "seashell FFF5EE honeydew F0FFF0 mintcream F5FFFA azure F0FFFF aliceblue F0F8FF "
        "lavender E6E6FA lavenderblush FFF0F5 mistyrose FFE4E1 white FFFFFF black 000000 "
        "darkslategrey 2F4F4F dimgrey 696969 slategrey 708090 lightslategrey 778899 grey BEBEBE "
        "lightgrey D3D3D3 midnightblue 191970 navyblue 000080 navy 000080 lightnavy 8080FF "
        "cornflowerblue 6495ED darkslateblue 483D8B slateblue 6A5ACD mediumslateblue 7B68EE "
        "lightslateblue 8470FF mediumblue 0000CD royalblue 4169E1 blue 0000FF dodgerblue 1E90FF "
        "deepskyblue 00BFFF skyblue 87CEEB lightskyblue 87CEFA steelblue 4682B4 "
        "lightsteelblue B0C4DE lightblue ADD8E6 powderblue B0E0E6 paleturquoise AFEEEE "
        "darkturquoise 00CED1 mediumturquoise 48D1CC turquoise 40E0D0 cyan 00FFFF "
        "lightcyan E0FFFF cadetblue 5F9EA0 mediumaquamarine 66CDAA aquamarine 7FFFD4 "
        "darkgreen 006400 darkolivegreen 556B2F darkseagreen 8FBC8F seagreen 2E8B57 "
        "mediumseagreen 3CB371 lightgreen 20B2AA palegreen 98FB98 springgreen 00FF7F "
        "lawngreen 7CFC00 green 00FF00 chartreuse 7FFF00 mediumspringgreen 00FA9A "
        "greenyellow ADFF2F limegreen 32CD32 yellowgreen 9ACD32 forestgreen 228B22 "
        "olivedrab 6B8E23 darkkhaki BDB76B khaki F0E68C palegoldenrod EEE8AA lightyellow FFFFE0 "
        "yellow FFFF00 gold FFD700 lightgoldenrod EEDD82 goldenrod DAA520 darkgoldenrod B8860B "
        "rosybrown BC8F8F indianred CD5C5C saddlebrown 8B4513 sienna A0522D peru CD853F "
        "burlywood DEB887 beige F5F5DC wheat F5DEB3 sandybrown F4A460 tan D2B48C "
        "chocolate D2691E firebrick B22222 brown A52A2A darksalmon E9967A salmon FA8072 "
        "lightsalmon FFA07A orange FFA500 darkorange FF8C00 coral FF7F50 lightcoral F08080 "
        "tomato FF6347 orangered FF4500 red FF0000 hotpink FF69B4 deeppink FF1493 pink FFC0CB "
        "lightpink FFB6C1 palevioletred DB7093 maroon B03060 mediumvioletred C71585 "
        "violetred D02090 magenta FF00FF violet EE82EE mediumorchid BA55D3 darkorchid 9932CC "
        "darkviolet 9400D3 blueviolet 8A2BE2 purple A020F0 mediumpurple 9370DB thistle D8BFD8 "
        "aqua 00FFFF";
    std::istringstream in(table);
    std::string name;
    std::uint32_t rgb = 0;
    std::set<std::string> names;
    while (in >> name >> std::hex >> rgb) {
        names.insert(name);
        EXPECT_EQ(colourFromText(name), bgr(rgb)) << name;
    }
    EXPECT_EQ(names.size(), 122u);
    EXPECT_EQ(captionColourNames().size(), 122u);
}

TEST(ColourNames, HexadecimalFirstThenNamesElseWhite) {
    struct Case {
        const char* text;
        std::uint32_t colour;
    } cases[] = {
        {"FF0000", 0x0000FF},   {"ff0000", 0x0000FF},    {"0000FF", 0xFF0000},
        {"RED", 0x0000FF},      {"Red", 0x0000FF},       {" r e d \t", 0x0000FF},
        {"F3E2C1", 0xC1E2F3},   {"beface", 0xCEFABE},    {"#FF0000", 0xFFFFFF},
        {"F00", 0xFFFFFF},      {"FF00001", 0xFFFFFF},   {"GG0000", 0xFFFFFF},
        {"gray", 0xFFFFFF},     {"lightgray", 0xFFFFFF}, {"grey", 0xBEBEBE},
        {"", 0xFFFFFF},         {"redd", 0xFFFFFF},      {"빨강", 0xFFFFFF},
        {"NavyBlue", 0x800000}, {"cyan", 0xFFFF00},      {"aqua", 0xFFFF00},
    };
    for (const Case& c : cases) EXPECT_EQ(colourFromText(c.text), c.colour) << c.text;
}
