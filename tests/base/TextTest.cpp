#include <gtest/gtest.h>
#include <iconv.h>

#include "base/Naming.h"
#include "base/TextCodec.h"

using namespace orvalis;

namespace {
// "안녕 abc" in CP949, UTF-16LE with its mark and UTF-8 with its mark.
const std::string kCp949 = "\xbe\xc8\xb3\xe7 abc";
const std::string kUtf16 = std::string("\xff\xfe\x48\xc5\x55\xb1\x20\x00\x61\x00\x62\x00\x63\x00", 14);
const std::string kUtf8Bom = "\xef\xbb\xbf\xec\x95\x88\xeb\x85\x95 abc";
}  // namespace

TEST(TextCodec, EveryEncodingOfOneTextDecodesToTheSameUtf8) {
    using E = text::Encoding;
    EXPECT_EQ(std::vector({text::detectEncoding(kCp949), text::detectEncoding(kUtf16),
                           text::detectEncoding(kUtf8Bom)}),
              std::vector({E::Cp949, E::Utf16LE, E::Utf8Bom}));
    for (const std::string& bytes : {kCp949, kUtf16, kUtf8Bom, std::string("안녕 abc")})
        EXPECT_EQ(text::decode(bytes), "안녕 abc");
    EXPECT_EQ(text::decode(std::string("\xfe\xff\xc5\x48\xb1\x55\x00\x20\x00\x61", 10)), "안녕 a");
}

TEST(TextCodec, BrokenBytesBecomeReplacementCharactersNotCrashes) {
    // A lead byte at the very end, a stray trail byte, a lone surrogate, an odd byte count.
    EXPECT_EQ(text::decode("\xbe\xc8\xb3"), "안\xEF\xBF\xBD");
    EXPECT_EQ(text::decode(std::string("\xff\xfe\x00\xd8\x41\x00\x42", 7)), "\xEF\xBF\xBD" "A");
    std::string random;
    for (int i = 0; i < 100000; ++i) random += static_cast<char>((i * 2654435761u) >> 13);
    EXPECT_TRUE(text::isValidUtf8(text::decode(random)));
    EXPECT_FALSE(text::isValidUtf8("\xc0\xaf") || text::isValidUtf8("\xed\xa0\x80"));  // overlong, surrogate
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

const std::string kJapanese = "こんにちは、元気ですか？\n今日はいい天気ですね。散歩に行きましょう。\n"
                              "ありがとうございます。それでは、また明日会いましょう。\n";
const std::string kChinese = "你好，你今天怎么样？\n我们明天去公园散步吧。天气很好，我们一起去。\n";
const std::string kTaiwanese = "你好，你今天怎麼樣？\n我們明天去公園散步吧。天氣很好，我們一起去。\n";
const std::string kFrench = "Où est la bibliothèque, s'il vous plaît ?\nNoël à la française : café, crème brûlée.\n";
const std::string kKorean = "안녕하세요, 오늘 날씨가 좋네요.\n내일 공원에 산책하러 갈까요?\n";

}  // namespace

TEST(TextCodec, EachOlderEncodingIsRecognisedAndReadBack) {
    struct Case { const char* charset; const std::string& text; text::Encoding encoding; };
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
    EXPECT_EQ(std::vector({text::cp949Units("abc"), text::cp949Units("안녕 abc"), text::cp949Units("é😀")}),
              std::vector<std::size_t>({3, 8, 4}));
    EXPECT_EQ(std::vector({text::prefixWithinUnits("안녕하세요", 5), text::prefixWithinUnits("a안녕", 4),
                           text::prefixWithinUnits("abc", 10)}),
              std::vector<std::string_view>({"안녕", "a안", "abc"}));
    EXPECT_EQ(text::toCp949("안녕 abc"), kCp949);
    EXPECT_EQ(text::toCp949("😀"), std::nullopt);
}

TEST(Naming, FileNamesAndClockTexts) {
    // A separator at index 0 does not count.
    for (const char* path : {"C:\\movies\\film.avi", "/home/u/film.avi", "film.avi"})
        EXPECT_EQ(fileNamePart(path), "film.avi") << path;
    EXPECT_EQ(fileNamePart("\\film.avi"), "\\film.avi");
    EXPECT_EQ(fileTitle("/home/u/film.part1.avi"), "film.part1");
    EXPECT_EQ(std::vector({clockText(0), clockText(3661), clockText(360000)}),
              std::vector<std::string>({"00:00:00", "01:01:01", "100:00:00"}));
    EXPECT_EQ(std::vector({parseClockText("01:01:01"), parseClockText("1:01:01"), parseClockText("01-01-01")}),
              std::vector<std::optional<int>>({3661, std::nullopt, std::nullopt}));
    EXPECT_EQ(std::vector({isStreamAddress("http://example.com/a"), isStreamAddress("mms://x"),
                           isStreamAddress("://x"), isStreamAddress("/home/u/a.avi")}),
              std::vector({true, true, false, false}));
}
