#include <gtest/gtest.h>

#include "app/IniDocument.h"
#include "app/Naming.h"
#include "app/TextCodec.h"

using namespace orvalis;

namespace {
// "안녕 abc" in CP949, UTF-16LE with its mark and UTF-8 with its mark.
const std::string kCp949 = "\xbe\xc8\xb3\xe7 abc";
const std::string kUtf16 = std::string("\xff\xfe\x48\xc5\x55\xb1\x20\x00\x61\x00\x62\x00\x63\x00", 14);
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
    EXPECT_EQ(text::decode(std::string("\xff\xfe\x00\xd8\x41\x00\x42", 7)), "\xEF\xBF\xBD" "A");
    std::string random;
    for (int i = 0; i < 100000; ++i) random += static_cast<char>((i * 2654435761u) >> 13);
    std::string out = text::decode(random);
    EXPECT_TRUE(text::isValidUtf8(out));
    EXPECT_FALSE(text::isValidUtf8("\xc0\xaf"));  // overlong
    EXPECT_FALSE(text::isValidUtf8("\xed\xa0\x80"));  // surrogate
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
    EXPECT_EQ(doc.serialize(),
              "; written by hand\n[General]\nName=x\n\n[Caption]\nFontSize=25\nFontName=굴림\n; keep me\n"
              "[Other]\nA=1\n[New]\nK=v\n");
    EXPECT_EQ(*doc.find("CAPTION", "FONTNAME"), "굴림");
    EXPECT_TRUE(doc.remove("Other", "a"));
    EXPECT_EQ(doc.find("Other", "A"), nullptr);
}

TEST(IniDocument, FirstOfDuplicatesCountsAndCrlfReads) {
    IniDocument doc = IniDocument::parse("[S]\r\nk=1\r\nK=2\r\n[s]\r\nk=3\r\nnoequals\r\n=novalue\r\n");
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
