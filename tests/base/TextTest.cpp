#include <gtest/gtest.h>
#include <iconv.h>

#include "base/IniDocument.h"
#include "base/Naming.h"
#include "base/TextCodec.h"

using namespace orvalis;

namespace {
// "안녕 abc" in CP949, UTF-16LE with its mark and UTF-8 with its mark.
const std::string kCp949 = "\xbe\xc8\xb3\xe7 abc";
const std::string kUtf16 =
    std::string("\xff\xfe\x48\xc5\x55\xb1\x20\x00\x61\x00\x62\x00\x63\x00", 14);
const std::string kUtf8Bom = "\xef\xbb\xbf\xec\x95\x88\xeb\x85\x95 abc";
}  // namespace

TEST(TextCodec, EveryEncodingOfOneTextDecodesToTheSameUtf8) {
    EXPECT_EQ(text::detectEncoding(kCp949), text::Encoding::Cp949);
    EXPECT_EQ(text::detectEncoding(kUtf16), text::Encoding::Utf16LE);
    EXPECT_EQ(text::detectEncoding(kUtf8Bom), text::Encoding::Utf8Bom);
    EXPECT_EQ(text::decode(kCp949), "안녕 abc");
    EXPECT_EQ(text::decode(kUtf16), "안녕 abc");
    EXPECT_EQ(text::decode(kUtf8Bom), "안녕 abc");
    EXPECT_EQ(text::decode("안녕 abc"), "안녕 abc");
    std::string be = "\xfe\xff";
    be += std::string("\xc5\x48\xb1\x55\x00\x20\x00\x61", 8);
    EXPECT_EQ(text::decode(be), "안녕 a");
}

TEST(TextCodec, BrokenBytesBecomeReplacementCharactersNotCrashes) {
    // A lead byte at the very end, a stray trail byte, a lone surrogate, an odd byte count.
    EXPECT_EQ(text::decode("\xbe\xc8\xb3"), "안\xEF\xBF\xBD");
    EXPECT_EQ(text::decode(std::string("\xff\xfe\x00\xd8\x41\x00\x42", 7)),
              "\xEF\xBF\xBD"
              "A");
    std::string random;
    for (int i = 0; i < 100000; ++i) random += static_cast<char>((i * 2654435761u) >> 13);
    std::string out = text::decode(random);
    EXPECT_TRUE(text::isValidUtf8(out));
    EXPECT_FALSE(text::isValidUtf8("\xc0\xaf"));      // overlong
    EXPECT_FALSE(text::isValidUtf8("\xed\xa0\x80"));  // surrogate
}

namespace {

// A UTF-8 text in another encoding, by the system's converter.
std::string encodeAs(const char* charset, const std::string& utf8) {
    iconv_t cd = iconv_open(charset, "UTF-8");
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1)) << charset;
    std::string out(utf8.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(utf8.data());
    char* dst = out.data();
    std::size_t inLeft = utf8.size(), outLeft = out.size();
    EXPECT_NE(iconv(cd, &in, &inLeft, &dst, &outLeft), static_cast<std::size_t>(-1)) << charset;
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

const std::string kJapanese =
    "こんにちは、元気ですか？\n今日はいい天気ですね。散歩に行きましょう。\n"
    "ありがとうございます。それでは、また明日会いましょう。\n";
const std::string kChinese = "你好，你今天怎么样？\n我们明天去公园散步吧。天气很好，我们一起去。\n";
const std::string kTaiwanese =
    "你好，你今天怎麼樣？\n我們明天去公園散步吧。天氣很好，我們一起去。\n";
const std::string kFrench =
    "Où est la bibliothèque, s'il vous plaît ?\nNoël à la française : café, crème brûlée.\n";
const std::string kKorean = "안녕하세요, 오늘 날씨가 좋네요.\n내일 공원에 산책하러 갈까요?\n";

}  // namespace

TEST(TextCodec, EachOlderEncodingIsRecognisedAndReadBack) {
    struct Case {
        const char* charset;
        const std::string& text;
        text::Encoding encoding;
    };
    // Shift-JIS and EUC-JP are valid CP949 byte for byte; their statistics tell them apart.
    for (const Case& c : {Case{"CP949", kKorean, text::Encoding::Cp949},
                          Case{"SHIFT_JIS", kJapanese, text::Encoding::ShiftJis},
                          Case{"EUC-JP", kJapanese, text::Encoding::EucJp},
                          Case{"GB18030", kChinese, text::Encoding::Gb18030},
                          Case{"BIG5", kTaiwanese, text::Encoding::Big5},
                          Case{"CP1252", kFrench, text::Encoding::Windows1252}}) {
        const std::string bytes = encodeAs(c.charset, c.text);
        const text::TextEncoding found = text::guessEncoding(bytes);
        EXPECT_EQ(found.encoding, c.encoding) << c.charset;
        EXPECT_EQ(text::decode(bytes, found), c.text) << c.charset;
        EXPECT_EQ(text::encodingNamed(text::encodingName(c.encoding)), c.encoding);
    }
    EXPECT_EQ(text::encodingNamed(" euc-kr "), text::Encoding::Cp949);
    EXPECT_EQ(text::encodingNamed("sjis"), text::Encoding::ShiftJis);
    EXPECT_EQ(text::encodingNamed("KOI8-R"), std::nullopt);
}

TEST(TextCodec, LinesThatAreNotUtf8ReadInTheirOwnEncoding) {
    // UTF-8 with one line saved in CP949: only that line is read as CP949.
    const std::string utf8 = "첫 줄은 UTF-8\n둘째 줄도 UTF-8\n";
    const std::string mixed = utf8 + *text::toCp949("셋째 줄은 CP949\n") + "끝\n";
    EXPECT_EQ(text::detectEncoding(mixed), text::Encoding::Utf8);
    EXPECT_EQ(text::guessEncoding(mixed).encoding, text::Encoding::Utf8);
    EXPECT_EQ(text::decode(mixed), utf8 + "셋째 줄은 CP949\n끝\n");
    EXPECT_EQ(text::decode(mixed, text::guessEncoding(mixed)), text::decode(mixed));

    // A CP949 file whose short lines happen to be valid UTF-8 stays CP949 throughout.
    const std::string korean = *text::toCp949(kKorean + kKorean) + "\xc2\xa1\n";
    EXPECT_EQ(text::detectEncoding(korean), text::Encoding::Cp949);

    // Three encodings in one file: the UTF-8, CP949 and Windows-1252 lines each read whole.
    const std::string three = "가나다 UTF-8\n라마바 UTF-8\n" + *text::toCp949("사아자\n") +
                              encodeAs("CP1252", "Noël à la française, café crème\n");
    EXPECT_EQ(text::decode(three, text::guessEncoding(three)),
              "가나다 UTF-8\n라마바 UTF-8\n사아자\nNoël à la française, café crème\n");
    // Without the guess the Western line is marked where CP949 cannot read it.
    EXPECT_TRUE(text::isValidUtf8(text::decode(three)));
}

TEST(TextCodec, Cp949UnitsCountOneForAsciiAndTwoForTheRest) {
    EXPECT_EQ(text::cp949Units("abc"), 3u);
    EXPECT_EQ(text::cp949Units("안녕 abc"), 8u);
    EXPECT_EQ(text::cp949Units("é😀"), 4u);
    EXPECT_EQ(text::prefixWithinUnits("안녕하세요", 5), "안녕");
    EXPECT_EQ(text::prefixWithinUnits("a안녕", 4), "a안");
    EXPECT_EQ(text::prefixWithinUnits("abc", 10), "abc");
    EXPECT_EQ(text::toCp949("안녕 abc"), kCp949);
    EXPECT_EQ(text::toCp949("😀"), std::nullopt);
}

TEST(IniDocument, EditsKeepEverythingElseInPlace) {
    const std::string original =
        "; written by hand\n[General]\nName=x\n\n[Caption]\nFontSize=20\n; keep me\n[Other]\nA=1\n";
    IniDocument doc = IniDocument::parse(original);
    EXPECT_EQ(doc.serialize(), original);
    doc.set("caption", "fontsize", "25");
    doc.set("Caption", "FontName", "굴림");
    doc.set("New", "K", "v");
    EXPECT_EQ(
        doc.serialize(),
        "; written by hand\n[General]\nName=x\n\n[Caption]\nFontSize=25\nFontName=굴림\n; keep me\n"
        "[Other]\nA=1\n[New]\nK=v\n");
    EXPECT_EQ(*doc.find("CAPTION", "FONTNAME"), "굴림");
    EXPECT_TRUE(doc.remove("Other", "a"));
    EXPECT_EQ(doc.find("Other", "A"), nullptr);
}

TEST(IniDocument, FirstOfDuplicatesCountsAndCrlfReads) {
    IniDocument doc =
        IniDocument::parse("[S]\r\nk=1\r\nK=2\r\n[s]\r\nk=3\r\nnoequals\r\n=novalue\r\n");
    EXPECT_EQ(*doc.find("S", "k"), "1");
    auto entries = doc.entries("S");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].second, "1");
}

TEST(Naming, FileNamesAndClockTexts) {
    EXPECT_EQ(fileNamePart("C:\\movies\\film.avi"), "film.avi");
    EXPECT_EQ(fileNamePart("/home/u/film.avi"), "film.avi");
    EXPECT_EQ(fileNamePart("\\film.avi"), "\\film.avi");  // a separator at index 0 does not count
    EXPECT_EQ(fileNamePart("film.avi"), "film.avi");
    EXPECT_EQ(fileTitle("/home/u/film.part1.avi"), "film.part1");
    EXPECT_EQ(clockText(0), "00:00:00");
    EXPECT_EQ(clockText(3661), "01:01:01");
    EXPECT_EQ(clockText(360000), "100:00:00");
    EXPECT_EQ(parseClockText("01:01:01"), 3661);
    EXPECT_EQ(parseClockText("1:01:01"), std::nullopt);
    EXPECT_EQ(parseClockText("01-01-01"), std::nullopt);
    EXPECT_TRUE(isStreamAddress("http://example.com/a"));
    EXPECT_TRUE(isStreamAddress("mms://x"));
    EXPECT_FALSE(isStreamAddress("://x"));
    EXPECT_FALSE(isStreamAddress("/home/u/a.avi"));
}
