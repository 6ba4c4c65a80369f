#include <gtest/gtest.h>

#include "captions/ColourNames.h"
#include "captions/SplitPoint.h"

using namespace orvalis;

TEST(SplitPoint, CutsUtf8WhereCp949WasCut) {
    EXPECT_EQ(findSplitPoint(""), 0u);
    EXPECT_EQ(findSplitPoint("("), 0u);  // no cut before the first character
    EXPECT_EQ(splitInTwo("abc def").first, "abc ");
    EXPECT_EQ(splitInTwo("가a나다").first, "가a");   // the middle unit begins 나
    EXPECT_EQ(splitInTwo("가나a다").first, "가나");  // the middle unit ends 나
    EXPECT_EQ(splitInTwo("hello/world").second, "/world");
    EXPECT_EQ(splitInTwo("가").first, "가");
    EXPECT_EQ(splitInTwo("abc d ef").first, "abc ");  // of two breaks as near, the left one
    EXPECT_EQ(splitInTwo("a(bc").first, "a");         // the cut falls before an opening bracket
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
