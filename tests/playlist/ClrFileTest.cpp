#include <gtest/gtest.h>
#include <sys/stat.h>

#include "SchemePrint.h"
#include "base/TextCodec.h"
#include "playlist/ClrFile.h"
#include "support/TestSupport.h"

using namespace orvalis;
using namespace std::string_literals;
using orvalis::test::freshDir;
using orvalis::test::readFile;
using orvalis::test::writeFile;

namespace {

// A record with the given name field (up to 52 bytes), colours and reserved value.
std::string record(std::string_view field, std::uint32_t back, std::uint32_t reserved = 0) {
    std::string r(72, '\0');
    r.replace(0, std::min<std::size_t>(field.size(), 52), field.substr(0, 52));
    std::uint32_t values[] = {back, 2, 3, 4, reserved};
    for (int i = 0; i < 5; ++i)
        for (int k = 0; k < 4; ++k) r[52 + 4 * i + k] = static_cast<char>(values[i] >> (8 * k));
    return r;
}

}  // namespace

TEST(ClrRead, WholeRecordsOnlyAndNeverMoreThanAHundred) {
    const std::string dir = freshDir("clr-read");
    const std::string two = record("One", 1, 0xDEADBEEF) + record("Two", 5);
    writeFile(dir + "/144.clr", two);
    writeFile(dir + "/150.clr", two + "Three!");
    writeFile(dir + "/50.clr", two.substr(0, 50));
    writeFile(dir + "/0.clr", "");

    clr::ReadResult r = clr::readFile(dir + "/150.clr");
    ASSERT_EQ(r.status, clr::ReadStatus::Ok);
    EXPECT_EQ(r.schemes, (std::vector<ColorScheme>{{"One", 1, 2, 3, 4}, {"Two", 5, 2, 3, 4}}));
    EXPECT_EQ(clr::readFile(dir + "/144.clr").schemes, r.schemes);
    EXPECT_EQ(clr::readFile(dir + "/50.clr").status, clr::ReadStatus::NoRecord);
    EXPECT_EQ(clr::readFile(dir + "/0.clr").status, clr::ReadStatus::NoRecord);

    std::string big;
    for (int i = 0; big.size() < 10'000'000; ++i) big += record("S" + std::to_string(i), i);
    writeFile(dir + "/big.clr", big);
    r = clr::readFile(dir + "/big.clr");
    ASSERT_EQ(r.schemes.size(), 100u);
    EXPECT_EQ(r.schemes[99].name, "S99");

    // Neither a folder nor a pipe without a writer (which would block a plain open).
    EXPECT_EQ(clr::readFile(dir + "/missing.clr").status, clr::ReadStatus::CannotOpen);
    EXPECT_EQ(clr::readFile(dir).status, clr::ReadStatus::CannotOpen);
    ASSERT_EQ(::mkfifo((dir + "/pipe.clr").c_str(), 0600), 0);
    EXPECT_EQ(clr::readFile(dir + "/pipe.clr").status, clr::ReadStatus::CannotOpen);
}

TEST(ClrRead, NamesStayInsideTheirFieldAndDecodeByTheTextRule) {
    // No NUL in the whole field: the name stops after 51 bytes, before the colours.
    auto s = clr::decode(record(std::string(52, 'N'), 0x41414141));
    EXPECT_EQ(s[0], (ColorScheme{std::string(51, 'N'), 0x41414141, 2, 3, 4}));
    EXPECT_EQ(clr::decode(record(std::string("Dark\0junk", 9), 0))[0].name, "Dark");
    // CP949 from the older files, UTF-8 from ours.
    EXPECT_EQ(clr::decode(record("\xc7\xd1\xb1\xdb \xc1\xa6\xb8\xf1", 0))[0].name, "한글 제목");
    EXPECT_EQ(clr::decode(record("밤😀", 0))[0].name, "밤😀");
}

TEST(ClrWrite, FactorySetExportsAsElevenRecordsAndNamesFitTheirField) {
    const std::string path = freshDir("clr-write") + "/Orvalis.clr";
    ASSERT_TRUE(clr::writeFile(path, schemes::factorySet()));  // modes: PlaylistTest.cpp
    const std::string bytes = readFile(path);
    ASSERT_EQ(bytes.size(), 792u);
    EXPECT_EQ(bytes.substr(0, 52), "Black" + std::string(47, '\0'));
    EXPECT_EQ(bytes.substr(52, 4), std::string(4, '\0'));
    EXPECT_EQ(bytes.substr(72 + 52, 4), "\x6d\x7e\xbc\x00"s);
    EXPECT_EQ(bytes.substr(72 + 68, 4), std::string(4, '\0'));
    EXPECT_EQ(clr::readFile(path).schemes, schemes::factorySet());

    // Names take CP949 when they can and never overflow their field.
    EXPECT_EQ(clr::nameBytes("한글 제목"), "\xc7\xd1\xb1\xdb \xc1\xa6\xb8\xf1");
    EXPECT_EQ(clr::nameBytes("밤😀"), "밤😀");  // no CP949 form: UTF-8 throughout
    // Cut before a character that would not fit whole, in either encoding.
    const std::string a50(50, 'a');
    EXPECT_EQ(clr::nameBytes(a50 + "한"), a50);
    EXPECT_EQ(clr::nameBytes(std::string(60, 'b')), std::string(51, 'b'));
    std::string utf8 = "😀";
    for (int i = 0; i < 20; ++i) utf8 += "밤";
    EXPECT_EQ(clr::nameBytes(utf8).size(), 49u);  // 4 + 15 × 3

    std::vector<ColorScheme> set = {{"밤 하늘", 1, 2, 3, 4}, {"😀 smile", 0xFFFFFFFF, 0, 5, 7}};
    EXPECT_EQ(clr::decode(clr::encode(set)), set);
}
