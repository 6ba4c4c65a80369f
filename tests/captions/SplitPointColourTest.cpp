#include <gtest/gtest.h>

#include <random>
#include <set>
#include <sstream>

#include "base/TextCodec.h"
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
