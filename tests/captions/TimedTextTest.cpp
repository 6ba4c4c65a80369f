// SubRip and WebVTT files in the shapes people actually write them, read into slot tables.
#include <gtest/gtest.h>

#include "base/TextCodec.h"
#include "captions/CaptionModel.h"
#include "captions/SubtitleReaders.h"
#include "captions/TimedCues.h"

using namespace orvalis;

namespace {

// Every cell of the one language that holds something, as "slot=cell".
std::vector<std::string> filledCells(const CaptionTables& t) {
    std::vector<std::string> out;
    for (int slot = 0; slot <= t.lastSlot; ++slot) {
        std::string_view cell = t.cell(0, slot);
        if (!cell.empty()) out.push_back(std::to_string(slot) + "=" + std::string(cell));
    }
    return out;
}

using Cells = std::vector<std::string>;

}  // namespace

TEST(SubRip, CuesStandInTheSlotsOfTheirStartAndEndWithAnEndMark) {
    const CaptionTables t = parseSubRip(
        "1\n00:00:01,000 --> 00:00:03,500\n첫 줄\n둘째 줄\n\n"
        "2\n00:00:03,500 --> 00:00:05,000\nnext\n\n"
        "3\n00:00:10,250 --> 00:00:12,000\nlast\n");
    EXPECT_EQ(t.languageCodes, (std::vector<std::string>{"알 수 없음"}));
    // The first cue ends where the next starts: no end mark between them.
    EXPECT_EQ(filledCells(t), (Cells{"10=F3E2C1|첫 줄\nF3E2C1|둘째 줄", "35=F3E2C1|next",
                                     "50=_blank_", "102=F3E2C1|last", "120=_blank_"}));
    EXPECT_EQ(t.lastSlot, 120);
}

TEST(SubRip, OverlappingCuesAreShownTogetherAndOrderInTheFileDoesNotMatter) {
    const std::string overlap =
        "1\n00:00:01,000 --> 00:00:05,000\nA\n\n"
        "2\n00:00:03,000 --> 00:00:04,000\nB\n\n";
    EXPECT_EQ(filledCells(parseSubRip(overlap)),
              (Cells{"10=F3E2C1|A", "30=F3E2C1|A\nF3E2C1|B", "40=F3E2C1|A", "50=_blank_"}));
    // The same cues backwards.
    EXPECT_EQ(filledCells(parseSubRip("2\n00:00:03,000 --> 00:00:04,000\nB\n\n"
                                      "1\n00:00:01,000 --> 00:00:05,000\nA\n\n")),
              filledCells(parseSubRip(overlap)));

    // Two cues that start together stand in file order; a sloppy end 10 ms into the next
    // cue does not take the next cue away.
    EXPECT_EQ(filledCells(parseSubRip("00:00:01,000 --> 00:00:02,000\nX\n\n"
                                      "00:00:01,000 --> 00:00:03,010\nY\n\n"
                                      "00:00:03,000 --> 00:00:04,000\nZ\n")),
              (Cells{"10=F3E2C1|X\nF3E2C1|Y", "20=F3E2C1|Y", "30=F3E2C1|Z", "40=_blank_"}));

    // An end before the start: shown until the next cue; the last such cue has no end.
    EXPECT_EQ(filledCells(parseSubRip("00:00:05,000 --> 00:00:04,000\nC\n\n"
                                      "00:00:08,000 --> 00:00:09,000\nD\n\n"
                                      "00:00:20,000 --> 00:00:00,000\nE\n")),
              (Cells{"50=F3E2C1|C", "80=F3E2C1|D", "90=_blank_", "200=F3E2C1|E"}));
    // A cue shorter than a tenth of a second still has its slot when nothing else shows;
    // of two such cues in one tenth the later takes it; a cue without length never shows.
    EXPECT_EQ(filledCells(parseSubRip("00:00:01,010 --> 00:00:01,050\nflash\n\n"
                                      "00:00:01,060 --> 00:00:01,080\nsecond flash\n\n"
                                      "00:00:03,000 --> 00:00:03,000\nnever\n")),
              (Cells{"10=F3E2C1|second flash", "11=_blank_"}));
}

TEST(SubRip, StylingTagsGiveWayToTheirTextAndFontColoursToTheLine) {
    const CaptionTables t = parseSubRip(
        "1\n00:00:01,000 --> 00:00:02,000\n<i>기울임</i> <b>굵게</b> <u>밑줄</u>\n"
        "<font color=\"#ff8000\">주황</font>\n\n"
        "2\n00:00:03,000 --> 00:00:04,000\n{\\an8}<font color=yellow>위\n둘째</font>\n셋째\n\n"
        "3\n00:00:05,000 --> 00:00:06,000\n"
        "<font color='red'><font face=\"Arial\">안</font>밖</font> a < b &amp; c\n"
        "<<제목>> <Title> x<br>y {\\i1}z\n\n"
        "4\n00:00:07,000 --> 00:00:08,000\n<FONT COLOR=#00FF00 SIZE=3>  green</FONT>\n"
        "<font color=\"#12|34\">x</font> <font color=\"\n\n");
    EXPECT_EQ(t.cell(0, 10), "F3E2C1|기울임 굵게 밑줄\nFF8000|주황");
    // The colour holds across lines until its end tag; an ASS override is dropped.
    EXPECT_EQ(t.cell(0, 30), "YELLOW|위\nYELLOW|둘째\nF3E2C1|셋째");
    // A nested tag without a colour keeps the outer one; "<" that opens no tag is text.
    EXPECT_EQ(t.cell(0, 50), "RED|안밖 a < b & c\nF3E2C1|<<제목>> <Title> x\nF3E2C1|y z");
    // A colour cannot bring the cell's separators with it.
    EXPECT_EQ(t.cell(0, 70), "00FF00|green\n1234|x <font color=\"");
}

// A cue's text runs to the next timing line, as SubRip players read it: blank lines inside it
// (a caption that starts with an empty line, two line breaks in a row) do not cut it short.
TEST(SubRip, MissingBlankLinesAndEveryLineEndAreTakenAsTheyCome) {
    const CaptionTables t = parseSubRip(
        "1\r\n00:00:01,000 --> 00:00:02,000\r\nfirst\r\n"
        "2\r\n00:00:03,000 --> 00:00:04,000\r\nsecond\r\n1984\r\n\r\n"
        "3\r00:00:05,000 --> 00:00:06,000\rthird\r\r"
        "words after a blank line\n\n"
        "00:00:07,000 --> 00:00:08,000\nno number\n"
        "00:00:09,000 --> 00:00:10,000\nno blank line either\n"
        "00:00:11,000 --> 00:00:12,000\n\r\n \nafter empty lines\r\n\r\n second part\n");
    EXPECT_EQ(
        filledCells(t),
        (Cells{"10=F3E2C1|first", "20=_blank_", "30=F3E2C1|second\nF3E2C1|1984", "40=_blank_",
               "50=F3E2C1|third\nF3E2C1|words after a blank line", "60=_blank_",
               "70=F3E2C1|no number", "80=_blank_", "90=F3E2C1|no blank line either", "100=_blank_",
               "110=F3E2C1|after empty lines\nF3E2C1|second part", "120=_blank_"}));
}

TEST(SubRip, TimesInEveryShapeAndTheTwentyFourHourBound) {
    const CaptionTables t = parseSubRip(
        "00:00:01.500 --> 00:00:02.000\ndot\n\n"
        "01:02,5 --> 01:03,25\nno hours\n\n"
        " 0:0:7,1234 -->0:0:8,000 X1:10 X2:20 Y1:1 Y2:2\ncoordinates\n\n"
        "999:00:00,000 --> 999:00:01,000\nfar away\n\n"
        "-00:00:01,000 --> 00:00:01,000\nbefore the start\n\n"
        "00:00:20,000 -> 00:00:21,000\nnot an arrow\n\n"
        "00:00:30,000 --> junk\nbroken timing\n\n"
        "23:59:59,000 --> 999:00:00,000\nlate\n");
    EXPECT_EQ(t.cell(0, 15), "F3E2C1|dot");
    EXPECT_EQ(t.cell(0, 20), kEndMark);
    EXPECT_EQ(t.cell(0, 625), "F3E2C1|no hours");
    EXPECT_EQ(t.cell(0, 632), kEndMark);
    EXPECT_EQ(t.cell(0, 71), "F3E2C1|coordinates");
    EXPECT_EQ(t.cell(0, 80), kEndMark);
    EXPECT_EQ(t.cell(0, 863990), "F3E2C1|late");
    EXPECT_EQ(t.cell(0, 864000), kEndMark);
    EXPECT_EQ(t.lastSlot, 864000);
    EXPECT_EQ(filledCells(t).size(), 8u);  // nothing of the cues that were dropped

    std::string_view s = "12:34:56,789 rest";
    EXPECT_EQ(readCueTime(s), 45296789);
    EXPECT_EQ(s, " rest");
    s = "99999999999999999999:00:00,000";
    EXPECT_EQ(readCueTime(s), kLatestSyncMilliseconds + 1);
    for (std::string_view bad : {"", "12", ":12:00", "a1:00", "1:"}) {
        s = bad;
        EXPECT_FALSE(readCueTime(s)) << bad;
        EXPECT_EQ(s, bad);
    }
    EXPECT_FALSE(parseTimingLine("00:01 --> "));
    EXPECT_FALSE(parseTimingLine("1 --> 2"));
}

TEST(SubRip, AMegabyteLineOrAThousandLinesStayWithinWhatAScreenShows) {
    std::string words;
    while (words.size() < (1u << 20)) words += "가나다 ";
    std::string many;
    for (int i = 0; i < 1000; ++i) many += "line " + std::to_string(i) + "\n";
    const CaptionTables t = parseSubRip(
        "1\n00:00:01,000 --> 00:00:02,000\n" + words + "\n\n2\n00:00:03,000 --> 00:00:04,000\n" +
        many + "\n3\n00:00:05,000 --> 00:00:06,000\n" + std::string(1 << 20, '<') + "\n");
    const std::string_view big = t.cell(0, 10);
    EXPECT_LE(big.size(), kMaxCueLineBytes + 20);
    EXPECT_EQ(std::count(big.begin(), big.end(), '\n'), 1);  // cut in two at the divide length
    EXPECT_TRUE(text::isValidUtf8(big));
    const std::string_view lines = t.cell(0, 30);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n') + 1, kMaxCueLines);
    EXPECT_EQ(lines.substr(0, 14), "F3E2C1|line 0\n");
    // References shrink a long line after it is cut: the cut falls between characters.
    std::string refs;
    for (int i = 0; i < 1599; ++i) refs += "&#39;";
    const CaptionTables cut = parseSubRip("00:00:01,000 --> 00:00:02,000\n" + refs + "xxx가나\n");
    const std::string shrunk(cut.cell(0, 10));
    EXPECT_TRUE(text::isValidUtf8(shrunk));
    EXPECT_TRUE(shrunk.ends_with("xxx가")) << shrunk.substr(shrunk.size() - 10);
    const std::string_view brackets = t.cell(0, 50);
    EXPECT_EQ(brackets.size(), 2 * 7 + 1 + kMaxCueLineBytes);
    EXPECT_EQ(std::count(brackets.begin(), brackets.end(), '<'), kMaxCueLineBytes);
}

TEST(SubRip, OverlapsCannotMakeTheTablesMuchLargerThanTheFile) {
    // One cue of ten lines for the whole day under twenty thousand short ones: joining the
    // long text to every short one would take 8 MB.
    std::string longText, longCell;
    for (int i = 0; i < 10; ++i) {
        longText += std::string(38, 'L') + "\n";
        longCell += (i ? "\nF3E2C1|" : "F3E2C1|") + std::string(38, 'L');
    }
    std::string srt = "00:00:00,000 --> 23:00:00,000\n" + longText + "\n";
    auto stamp = [](int tenths) {
        return "00:" + std::to_string(tenths / 600 % 60) + ":" + std::to_string(tenths / 10 % 60) +
               "," + std::to_string(tenths % 10) + "00";
    };
    for (int i = 1; i <= 20000; ++i)
        srt += stamp(i) + " --> " + stamp(i + 1) + "\nn" + std::to_string(i) + "\n\n";
    const CaptionTables t = parseSubRip(srt);
    EXPECT_LT(t.memoryBytes(), 4 * srt.size() + (4u << 20) + (t.lastSlot + 1) * 4u);
    EXPECT_EQ(t.cell(0, 1), longCell + "\nF3E2C1|n1");
    EXPECT_EQ(t.cell(0, 2), longCell + "\nF3E2C1|n2");
    EXPECT_EQ(t.cell(0, 19999), "F3E2C1|n19999");  // by then only the newest cue shows
    EXPECT_EQ(t.cell(0, 20001), longCell);
    EXPECT_EQ(t.cell(0, 828000), kEndMark);
}

TEST(WebVtt, HeaderBlocksSettingsClassesAndKaraokeTimes) {
    const CaptionTables t = parseWebVtt(
        "WEBVTT - 제목\nKind: captions\nLanguage: ko\n\n"
        "STYLE\n::cue { color: red }\n\n"
        "NOTE a comment\nthat goes on\n\n"
        "REGION\nid:r1\n\n"
        "intro\n00:01.000 --> 00:02.500 align:start position:10%\n"
        "<v 철수>안녕</v> <c.yellow>노랑</c>\n\n"
        "2\n00:00:03.000 --> 00:00:04.000\n<c.red.bg_black>빨강</c> &lt;b&gt; &lrm;x\n"
        "00:00:05.000 --> 00:00:06.000\n<00:00:05.500>카라<b>오케</b> <lang en>word</lang>\n"
        "<ruby>漢<rt>한</rt></ruby> <c.magenta>&amp;</c>\n");
    EXPECT_EQ(t.languageCodes, (std::vector<std::string>{"KRCC"}));
    EXPECT_EQ(filledCells(t),
              (Cells{"10=F3E2C1|안녕 노랑", "25=_blank_", "30=FF0000|빨강 <b> \u200Ex",
                     "40=_blank_", "50=F3E2C1|카라오케 word\nF3E2C1|漢한 &", "60=_blank_"}));

    // Without a header, the file is read all the same; a name's language wins over none.
    CaptionModel model;
    model.parseBytes("00:01.000 --> 00:02.000\n<i>x</i>\n", 40, "/m/movie.eng.vtt");
    EXPECT_EQ(model.languageCodes(), (std::vector<std::string>{"EGCC"}));
    EXPECT_EQ(model.cell(0, 10), "F3E2C1|x");
}

TEST(CaptionFiles, TheFormatFollowsTheTextWhenItIsClearElseTheExtension) {
    EXPECT_EQ(detectCaptionFormat("a.smi", "<SAMI><SYNC Start=0>"), CaptionFormat::Sami);
    EXPECT_EQ(detectCaptionFormat("a.srt", "<sami><sync start=0>x"), CaptionFormat::Sami);
    EXPECT_EQ(detectCaptionFormat("a.smi", "1\n00:00:01,000 --> 00:00:02,000\n"),
              CaptionFormat::SubRip);
    EXPECT_EQ(detectCaptionFormat("a.smi", "WEBVTT\n"), CaptionFormat::WebVtt);
    EXPECT_EQ(detectCaptionFormat("a.srt", "\xEF\xBB\xBF\nWEBVTT\n"), CaptionFormat::WebVtt);
    EXPECT_EQ(detectCaptionFormat("a.vtt", "00:01.000 --> 00:02.000\nx"), CaptionFormat::WebVtt);
    // A SAMI comment has an arrow too.
    EXPECT_EQ(detectCaptionFormat("a.smi", "<!-- P {} --><SYNC Start=0>"), CaptionFormat::Sami);
    EXPECT_EQ(detectCaptionFormat("A.SRT", ""), CaptionFormat::SubRip);
    EXPECT_EQ(detectCaptionFormat("a.vtt", ""), CaptionFormat::WebVtt);
    EXPECT_EQ(detectCaptionFormat("", ""), CaptionFormat::Sami);

    EXPECT_EQ(languageCodeOfFileName("/dir.ko/film.srt"), "");  // CaptionLanguagesTest.cpp
    EXPECT_EQ(languageCodeOfFileName(".ko.srt"), "");           // holds the names' table
    EXPECT_EQ(languageCodeOfFileName("/m/film.KOR.smi"), "KRCC");
}
