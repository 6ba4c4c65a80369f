#include <gtest/gtest.h>

#include "base/TextCodec.h"
#include "captions/SamiParser.h"

using namespace orvalis;

namespace {

CaptionTables parse(const std::string& body, int divideLength = 40) {
    return SamiParser(divideLength).parse("<SAMI><BODY>\n" + body + "\n</BODY></SAMI>\n");
}

std::string cell(const CaptionTables& t, int slot, int language = 0) {
    return std::string(t.cell(language, slot));
}

}  // namespace

TEST(SamiParser, SlotsCellsAndEndMarks) {
    CaptionTables t =
        parse("<SYNC Start=1000><P Class=KRCC>안녕\n<SYNC Start=3000><P Class=KRCC>&nbsp;");
    EXPECT_EQ(t.languageCodes, std::vector<std::string>{"KRCC"});
    EXPECT_EQ(t.lastSlot, 30);
    EXPECT_EQ(t.slots[0].size(), 31u);
    EXPECT_EQ(cell(t, 10), "F3E2C1|안녕");
    EXPECT_EQ(cell(t, 30), "_blank_");

    // 12 345 ms is slot 123; a later SYNC of the same tenth empties the cell first.
    t = parse("<SYNC Start=12345><P>a\n<SYNC Start=12399><P>b");
    EXPECT_EQ(cell(t, 123), "F3E2C1|b");

    // An end mark 0.5 s before the next caption goes; one 1.5 s before it stays.
    t = parse(
        "<SYNC Start=1000>a\n<SYNC Start=2000>&nbsp;\n<SYNC Start=2500>b\n"
        "<SYNC Start=4000>&nbsp;\n<SYNC Start=5500>c");
    EXPECT_EQ(cell(t, 20), "");
    EXPECT_EQ(cell(t, 40), "_blank_");
    EXPECT_EQ(cell(t, 55), "F3E2C1|c");
}

TEST(SamiParser, DisplayLinesAndTheirColours) {
    struct Case {
        const char* body;
        const char* cell;
    } cases[] = {
        {"a\nb", "F3E2C1|a\nF3E2C1|b"},
        {"a<br>b", "F3E2C1|a\nF3E2C1|b"},
        {"a<br >b", "F3E2C1|a\nF3E2C1|b"},
        {"a<br/>b", "F3E2C1|a\nF3E2C1|b"},  // a self-closed break breaks the line too
        {"a<i>b</i>", "F3E2C1|ab"},         // runs on one line join as the file writes them
        {"a <i>b</i> c", "F3E2C1|a b c"},
        {"제로</font><font color=blue>의 사역마", "F3E2C1|제로의 사역마"},
        {"<ruby>OG<rt></rt>(졸업생)</ruby>인데", "F3E2C1|OG(졸업생)인데"},
        {"a<i>\nb", "F3E2C1|a b"},  // a line end between two runs is a blank
        {"a <br> b", "F3E2C1|a\nF3E2C1|b"},
        {"a < b", "F3E2C1|a < b"},  // a "<" that opens no tag is text
        {"<font color=#ff8000>x</font> y", "FF8000|x y"},
        {"<font color=red>x", "RED|x"},
        {"<FONT COLOR = \"Silver\">x<br>y", "SILVER|x\nSILVER|y"},
        {"x <font color=#00ff00>y<br>z</font><br>w", "F3E2C1|x y\n00FF00|z\nF3E2C1|w"},
        {"<font face=x>x", "F3E2C1|x"},
        {"<font color=가나다라마바사아자차카타>x",
         "가나다라마바사|x"},       // cut, but never inside a character
        {"a > b", "F3E2C1|a > b"},  // a ">" that closes no tag is text
        {">>> who?<br>>", "F3E2C1|>>> who?\nF3E2C1|>"},
        {"<b>&nbsp;</b>", "_blank_"},
        {"a&nbsp;&nbsp;b", "F3E2C1|a  b"},
        {"we&#039;re &lt;here&gt; &amp; Ou&#xF9; &eacute;t&eacute; &starf; &bogus; &#0;",
         "F3E2C1|we're <here> & Ouù été ★ &bogus; \xEF\xBF\xBD"},
    };
    for (const Case& c : cases) {
        CaptionTables t = parse(std::string("<SYNC Start=500><P Class=KRCC>") + c.body, 200);
        EXPECT_EQ(cell(t, 5), c.cell) << c.body;
    }
}

TEST(SamiParser, LongRunsSplitIntoTwoLinesOrTwoChunks) {
    // At the end of a physical line a long run becomes two display lines, and the next
    // physical line still begins a line of its own.
    CaptionTables t = parse("<SYNC Start=0>aaaa bbbb cccc\nd", 10);
    EXPECT_EQ(cell(t, 0), "F3E2C1|aaaa bbbb\nF3E2C1|cccc\nF3E2C1|d");
    // Ended by a tag on the same line, it becomes two chunks of one display line.
    t = parse("<SYNC Start=0>aaaa bbbb cccc<i>", 10);
    EXPECT_EQ(cell(t, 0), "F3E2C1|aaaa bbbb cccc");
    // A line far longer than any fixed buffer is still one run: two lines, not many.
    std::string longLine(12000, 'x');
    t = parse("<SYNC Start=0><font color=\"red\" face=\"" + std::string(6000, 'f') + "\">" +
              longLine);
    EXPECT_TRUE(cell(t, 0) == "RED|" + longLine.substr(0, 6001) + "\nRED|" + longLine.substr(6001));
}

TEST(SamiParser, LanguageClasses) {
    CaptionTables t = parse(
        "<SYNC Start=100><P Class=ENCC>hello<P Class=KRCC>안녕<P Class=XXCC>more\n"
        "<SYNC Start=200><P Class=\"JPCC\" id=a>こんにちは<P class=nlcc>hallo");
    // Every class is a language of its own, named by its code where it is known.
    EXPECT_EQ(t.languageCodes, (std::vector<std::string>{"EGCC", "KRCC", "XXCC", "JPCC", "EGCC"}));
    EXPECT_EQ(cell(t, 1, 0), "F3E2C1|hello");
    EXPECT_EQ(cell(t, 1, 1), "F3E2C1|안녕");
    EXPECT_EQ(cell(t, 1, 2), "F3E2C1|more");
    EXPECT_EQ(cell(t, 2, 3), "F3E2C1|こんにちは");
    EXPECT_EQ(cell(t, 2, 4), "F3E2C1|hallo");

    // The longer class names of the format's own examples, and the style sheet's languages:
    // a declared class that no P tag uses is a language too, after the used ones.
    t = SamiParser().parse(
        "<SAMI><HEAD><STYLE TYPE=\"text/css\"><!--\nP { margin-left: 8pt; }\n"
        ".ENUSCC { Name: English; lang: en-US; }\n.FRFRCC { Name: French; lang: fr-FR; }\n"
        ".SUBTTL { Name: 'Korean'; lang: kr-KR; }\n.JAJPCC { Name: Japanese; }\n--></STYLE>"
        "</HEAD><BODY>\n<SYNC Start=1000><P Class=ENUSCC>Hello<P Class=FRFRCC>Bonjour\n"
        "<SYNC Start=2000><P Class=SUBTTL>안녕</BODY></SAMI>");
    EXPECT_EQ(t.languageCodes, (std::vector<std::string>{"EGCC", "FRCC", "KRCC", "JPCC"}));
    EXPECT_EQ(cell(t, 10, 0), "F3E2C1|Hello");
    EXPECT_EQ(cell(t, 10, 1), "F3E2C1|Bonjour");
    EXPECT_EQ(cell(t, 20, 2), "F3E2C1|안녕");

    // A file that names no class has one language holding all text.
    t = parse("<SYNC Start=100><P>one\n<SYNC Start=200><P>two");
    EXPECT_EQ(t.languageCodes, std::vector<std::string>{"알 수 없음"});
    EXPECT_EQ(cell(t, 2), "F3E2C1|two");

    // Classes beyond the limit keep the language in force, and the reading says so.
    std::string many = "<SYNC Start=100>";
    for (int i = 0; i < 40; ++i) many += "<P Class=C" + std::to_string(i) + ">t";
    t = parse(many);
    EXPECT_EQ(t.languageCount(), kMaxCaptionLanguages);
    EXPECT_EQ(cell(t, 1, kMaxCaptionLanguages - 1), "F3E2C1|t" + std::string(32, 't'));
    EXPECT_FALSE(t.notice.empty());

    // One language's SYNC does not empty what another language filed in the same slot.
    t = parse(
        "<SYNC Start=100><P Class=KRCC>하나\n<SYNC Start=900><P Class=KRCC>&nbsp;\n"
        "<SYNC Start=100><P Class=ENCC>one\n<SYNC Start=900><P Class=ENCC>&nbsp;");
    EXPECT_EQ(cell(t, 1, 0), "F3E2C1|하나");
    EXPECT_EQ(cell(t, 1, 1), "F3E2C1|one");
}

TEST(SamiParser, SyncValues) {
    // Quoted, split across lines, lower case, with blanks: all read as the same start.
    CaptionTables t = parse(
        "<sync start=\"1000\"><p class='krcc'>a\n<SYNC Start\r\n=  2000 >b\n"
        "<SYNC\tStart=3000>c\n<SYNC Start=>zero");
    EXPECT_EQ(cell(t, 10), "F3E2C1|a");
    EXPECT_EQ(cell(t, 20), "F3E2C1|b");
    EXPECT_EQ(cell(t, 30), "F3E2C1|c");
    EXPECT_EQ(cell(t, 0), "F3E2C1|zero");

    // Starts before 0 or beyond 24 hours are ignored with their text; the table stays small.
    t = parse(
        "<SYNC Start=5000>a\n<SYNC Start=-300>neg\n<SYNC Start=86400001>late\n"
        "<SYNC Start=99999999999999999999>huge\n<SYNC Start=6000>b");
    EXPECT_EQ(t.lastSlot, 60);
    EXPECT_EQ(cell(t, 50), "F3E2C1|a");
    EXPECT_EQ(cell(t, 0), "");
    EXPECT_EQ(parse("<SYNC Start=86400000>day").lastSlot, 864000);

    // A SYNC tag cut short by the next tag ends there: its start counts and its text stays.
    t = parse("<SYNC Start=100>a\n<SYNC Start=2000Lorem ipsum<P Class=KRCC>Hello there");
    EXPECT_EQ(t.lastSlot, 20);
    EXPECT_EQ(cell(t, 1), "F3E2C1|a");
    EXPECT_EQ(cell(t, 20), "F3E2C1|Hello there");

    EXPECT_EQ(parse("no sync at all").lastSlot, -1);
    // Nothing before the first SYNC counts, the class of a P there included.
    t = parse("<P Class=KRCC>before<SYNC Start=0>&nbsp;");
    EXPECT_EQ(t.languageCodes, std::vector<std::string>{"KRCC"});
    EXPECT_EQ(cell(t, 0), "_blank_");
}

TEST(SamiParser, ABrokenTagNeverTakesTheCaptionsAfterIt) {
    // Left open at a line end, a tag that nothing closes before the next one ends there.
    CaptionTables t = parse("<SYNC Start=1000>첫 줄<br\n둘째 줄\n셋째 줄\n<SYNC Start=2000>&nbsp;");
    EXPECT_EQ(cell(t, 10), "F3E2C1|첫 줄\nF3E2C1|둘째 줄\nF3E2C1|셋째 줄");
    t = parse("<SYNC Start=1000><font color=red\nb");
    EXPECT_EQ(cell(t, 10), "RED|b");
    // A comment that is never closed is no comment.
    t = parse("<SYNC Start=1000><!-- note\nshown");
    EXPECT_EQ(cell(t, 10), "F3E2C1|shown");
    t = parse("<SYNC Start=1000><!-- <P Class=ENCC> hidden\n -->shown");
    EXPECT_EQ(cell(t, 10), "F3E2C1|shown");
}

// The divide length counts CP949 units: a syllable is two, however many bytes it has here.
TEST(SamiParser, TheDivideLengthCountsCp949Units) {
    const std::string forty = "가나다라마바사아자차카타파하가나다라마바";
    EXPECT_EQ(cell(parse("<SYNC Start=0>" + forty), 0), "F3E2C1|" + forty);
    // 43 units: cut at the blank, near the middle.
    EXPECT_EQ(cell(parse("<SYNC Start=0>가나다라마바사아자차카타파하 가나다라마바사"), 0),
              "F3E2C1|가나다라마바사아자차카타파하\nF3E2C1|가나다라마바사");
}

TEST(SamiParser, BadInputEndsWithAModel) {
    std::string noise;
    for (int i = 0; i < 200000; ++i) noise += static_cast<char>((i * 2654435761u) >> 11);
    const std::string inputs[] = {
        noise,
        "<SYNC Start=1000><P Class=KRCC><font color=\"" + std::string(100000, '#') + "\n<<<<>>>>",
        "<SYNC Start=1000><P Class=\"" + std::string(3, '"') + "<<b<i<u>>>x</i></b>\n<SYNC Start=",
        "<SYNC Start=1000>" + std::string(2 << 20, 'a'),
        "<SYNC Start=1000>" + std::string(1 << 18, '<'),
        std::string("<SYNC Start=1000>\xbe\xc8\xb3", 20) + "\xff\xfe\x80\x80<font color=\xb3\xe7>",
    };
    for (const std::string& input : inputs) {
        CaptionTables t = SamiParser().parse(decodeCaptionText(input));
        ASSERT_GE(t.languageCount(), 1);
        EXPECT_LE(t.lastSlot, 864000);
        for (const auto& text : t.texts) EXPECT_TRUE(text::isValidUtf8(text));
    }
}
