#include <gtest/gtest.h>

#include "base/TextCodec.h"
#include "captions/CaptionLayout.h"

using namespace orvalis;

namespace {

// 10 pixels per CP949 unit (20 for a Hangul syllable), 30 pixels high.
class FixedMeasurer final : public TextMeasurer {
public:
    TextExtent measure(std::string_view utf8) const override {
        return {static_cast<int>(text::cp949Units(utf8)) * 10, 30};
    }
};

constexpr std::uint32_t kFontColour = 0xB3DEF5;

CaptionLayoutInput input(std::string_view caption, int width = 640, int height = 480) {
    CaptionLayoutInput in;
    in.caption = caption;
    in.clientWidth = width;
    in.clientHeight = height;
    in.fontColour = kFontColour;
    in.points = 20;
    return in;
}

std::vector<std::string> texts(const CaptionPicture& p) {
    std::vector<std::string> out;
    for (const CaptionLine& line : p.lines) out.push_back(line.text);
    return out;
}

const FixedMeasurer measurer;

}  // namespace

TEST(CaptionLayout, TwoLinesStandOnTheBottomMarginEachInItsColour) {
    const CaptionPicture p = layoutCaption(input("F3E2C1|first\nFF0000| second "), measurer);
    ASSERT_EQ(p.lines.size(), 2u);
    // 480 - 48 (10 %) - 2 x 30 - 1 x 2, then 32 further down and one gap more.
    EXPECT_EQ(p.lines[0].rect, (geometry::Rect{295, 370, 345, 402}));
    EXPECT_EQ(p.lines[1].rect, (geometry::Rect{290, 404, 350, 434}));
    EXPECT_EQ(p.lines[0].colour, kFontColour);
    EXPECT_EQ(p.lines[1].colour, 0x0000FFu);  // FF0000 is red, 0x00BBGGRR
    EXPECT_EQ(texts(p), (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(p.align, CaptionAlign::Centre);

    // Unknown colour names are white; a line without colour text takes the caption colour.
    const CaptionPicture q = layoutCaption(input("NOSUCHCOLOUR|b\n|d\ne"), measurer);
    EXPECT_EQ(q.lines.at(0).colour, 0xFFFFFFu);
    EXPECT_EQ(q.lines.at(1).colour, kFontColour);
    EXPECT_EQ(q.lines.at(1).text, "|d");
    EXPECT_EQ(q.lines.at(2).colour, kFontColour);
}

TEST(CaptionLayout, ASingleLineIsLiftedByOneLineUnlessTheBarIsHigher) {
    CaptionLayoutInput in = input("F3E2C1|one");
    EXPECT_EQ(layoutCaption(in, measurer).lines[0].rect.top, 480 - 48 - 30 - 30);
    in.addOneLine = false;
    EXPECT_EQ(layoutCaption(in, measurer).lines[0].rect.top, 480 - 48 - 30);

    // A transport bar over the picture that reaches above the margin pushes the block up.
    in.barShown = true;
    in.barHeight = 69;
    EXPECT_EQ(layoutCaption(in, measurer).lines[0].rect.top, 480 - 69 - 30);
    in.barHeight = 58;  // 48 is not below 58 - 10: the margin stays
    EXPECT_EQ(layoutCaption(in, measurer).lines[0].rect.top, 480 - 48 - 30);
}

TEST(CaptionLayout, AWideLineIsCutOnceAndKeepsItsColour) {
    // 200 wide with a 10 % margin: lines wider than 180 pixels are cut near the middle.
    CaptionPicture p = layoutCaption(input("FF0000|aaaa bbbb cccc dddd eeee", 200), measurer);
    EXPECT_EQ(texts(p), (std::vector<std::string>{"aaaa bbbb cccc", "dddd eeee"}));
    EXPECT_EQ(p.lines[1].colour, 0x0000FFu);

    // A part that is still too wide stays so: it is centred and runs out of the window.
    p = layoutCaption(input("F3E2C1|" + std::string(100, 'x'), 200), measurer);
    ASSERT_EQ(p.lines.size(), 2u);
    EXPECT_EQ(p.lines[0].text.size(), 51u);  // without a break the middle byte ends the first part
    EXPECT_EQ(p.lines[0].rect.left, (200 - 510) / 2);
    EXPECT_EQ(p.lines[0].rect.right, 200 - (200 - 510) / 2);

    // Hangul is cut between syllables.
    p = layoutCaption(input("F3E2C1|가나다라마바사아자차카타파하", 200), measurer);
    EXPECT_EQ(texts(p), (std::vector<std::string>{"가나다라마바사", "아자차카타파하"}));
}

TEST(CaptionLayout, AlignmentAndTheIndentOfLinesThatContinueADialogueTurn) {
    CaptionLayoutInput in = input(
        "F3E2C1|- abcd\nF3E2C1|efghijklmn\nF3E2C1|-pq\nF3E2C1|rs\nF3E2C1|tu\nF3E2C1|- "
        "vw\nF3E2C1|xy");
    in.align = 0;
    const CaptionPicture p = layoutCaption(in, measurer);
    ASSERT_EQ(p.lines.size(), 7u);
    const int left = (640 - 100) / 2;  // where the widest line starts
    const std::vector<int> lefts{left, left + 20, left, left + 10, left + 10, left, left + 20};
    for (std::size_t i = 0; i < p.lines.size(); ++i) EXPECT_EQ(p.lines[i].rect.left, lefts[i]) << i;
    // The indented widest line still has room for all of its text.
    EXPECT_GE(p.lines[1].rect.width(), 100);
    EXPECT_EQ(p.align, CaptionAlign::Left);

    in = input("F3E2C1|ab\nF3E2C1|abcdef");
    in.align = 2;  // right: the lines share the right edge of the widest
    const CaptionPicture r = layoutCaption(in, measurer);
    EXPECT_EQ(r.lines[0].rect.right, 640 - (640 - 60) / 2);
    EXPECT_EQ(r.lines[1].rect.right, r.lines[0].rect.right);
    in.align = 7;  // unknown: centred
    EXPECT_EQ(layoutCaption(in, measurer).align, CaptionAlign::Centre);
}

TEST(CaptionLayout, TwentyLinesAtMostTheLastTakingTheRest) {
    std::string caption;
    for (int i = 0; i < 25; ++i) caption += "F3E2C1|line" + std::to_string(i) + "\n";
    const CaptionPicture p = layoutCaption(input(caption), measurer);
    ASSERT_EQ(p.lines.size(), 20u);
    EXPECT_EQ(p.lines[18].text, "line18");
    EXPECT_EQ(p.lines[19].text.substr(0, 7), "line19\n");
    EXPECT_NE(p.lines[19].text.find("line24"), std::string::npos);
    // The block is placed for 20 lines.
    EXPECT_EQ(p.lines[0].rect.top, 480 - 48 - 20 * 30 - 19 * 2);
}

TEST(CaptionLayout, NothingToDrawAndWindowsTooSmall) {
    EXPECT_TRUE(layoutCaption(input(""), measurer).empty());
    EXPECT_TRUE(layoutCaption(input("F3E2C1|x", 0, 480), measurer).empty());
    EXPECT_TRUE(layoutCaption(input("F3E2C1|x", 640, 0), measurer).empty());
    // The smallest window with a caption far wider than it: laid out, running off both sides.
    const CaptionPicture p =
        layoutCaption(input("F3E2C1|" + std::string(400, 'w'), 192, 130), measurer);
    ASSERT_EQ(p.lines.size(), 2u);
    EXPECT_LT(p.lines[0].rect.left, 0);
    EXPECT_GT(p.lines[0].rect.right, 192);
    // A side margin over 100 % cuts every line once and nothing worse.
    CaptionLayoutInput in = input("F3E2C1|a\nb");
    in.sideMarginPercent = 150;
    EXPECT_EQ(texts(layoutCaption(in, measurer)), (std::vector<std::string>{"a", "", "b "}));
}

TEST(CaptionLayout, TwoLanguagesStackEachInItsSizeAndColour) {
    CaptionLayoutInput first = input("F3E2C1|first");
    first.addOneLine = false;
    SecondCaption second{"F3E2C1|second", 10, 0x00FFFF, false};
    // First alone: 480 - 48 - 30. The second at half the size is 15 high, "second" 30 wide.
    const CaptionPicture above = layoutTwoCaptions(first, second, measurer);
    ASSERT_EQ(above.lines.size(), 2u);
    EXPECT_EQ(above.lines[0].rect, (geometry::Rect{295, 402, 345, 432}));
    EXPECT_EQ(above.lines[0].points, 0);
    EXPECT_EQ(above.lines[1].rect, (geometry::Rect{305, 385, 335, 400}));
    EXPECT_EQ(above.lines[1].points, 10);
    EXPECT_EQ(above.lines[1].colour, 0x00FFFFu);

    second.below = true;
    const CaptionPicture below = layoutTwoCaptions(first, second, measurer);
    EXPECT_EQ(below.lines[0].rect, (geometry::Rect{295, 385, 345, 415}));
    EXPECT_EQ(below.lines[1].rect, (geometry::Rect{305, 417, 335, 432}));

    // Either alone stands where the first would.
    first.caption = "";
    const CaptionPicture secondAlone = layoutTwoCaptions(first, second, measurer);
    ASSERT_EQ(secondAlone.lines.size(), 1u);
    EXPECT_EQ(secondAlone.lines[0].rect, (geometry::Rect{305, 417, 335, 432}));
    first.caption = "F3E2C1|first";
    second.caption = "";
    EXPECT_EQ(layoutTwoCaptions(first, second, measurer), layoutCaption(first, measurer));
}
