#include <gtest/gtest.h>

#include "base/AtomicFile.h"
#include "base/Naming.h"
#include "base/SettingsKeys.h"
#include "base/TextCodec.h"
#include "extras/BookmarkFile.h"
#include "extras/BookmarkStore.h"
#include "support/TestSupport.h"

using namespace orvalis;
using bookmarks::readBookmarks;
using bookmarks::rewriteBookmarks;

namespace {

const std::vector<int> kNone;

std::string section(const std::string& path, const std::vector<std::string>& values) {
    std::string s = "[" + path + "]\n";
    for (std::size_t i = 0; i < values.size(); ++i)
        s += "bm" + std::to_string(i) + "=" + values[i] + "\n";
    return s;
}

std::vector<int> upTo(int count, int step = 10) {
    std::vector<int> v;
    for (int i = 1; i <= count; ++i) v.push_back(i * step);
    return v;
}

}  // namespace

TEST(BookmarkFileRead, KeepsValuesInsideTheLengthOnceEachAscending) {
    const std::string file = section(
        "/films/a.mp4",
        {"00:02:00", "00:00:00", "00:01:05", "00:01:05", "00:10:00", "00:09:59", "00:00:01"});
    // 0 s and the length itself are out; the repeated 65 s is one bookmark.
    EXPECT_EQ(readBookmarks(file, "/films/a.mp4", 600), (std::vector<int>{1, 65, 120, 599}));
    EXPECT_EQ(readBookmarks(file, "/films/a.mp4", 0), kNone);
}

TEST(BookmarkFileRead, MatchesTheFirstSectionByFileNameAloneWithoutCase) {
    const std::string file =
        "[/old/place/Other.mp4]\nbm0=00:00:30\n"
        "[  D:\\Movies\\CLIP.MP4  ]\nbm0=00:00:10\n"
        "[/media/clip.mp4]\nbm0=00:00:20\n";
    // A file moved to another folder finds its bookmarks; the first section wins and
    // reading stops at the next one.
    EXPECT_EQ(readBookmarks(file, "/home/me/clip.mp4", 100), (std::vector<int>{10}));
    EXPECT_EQ(readBookmarks(file, "/x/other.MP4", 100), (std::vector<int>{30}));
    EXPECT_EQ(readBookmarks(file, "/x/clip.mp4.part", 100), kNone);
    EXPECT_EQ(readBookmarks(file, "http://host/clip.mp4", 100), kNone);
}

TEST(BookmarkFileRead, MatchesTheFirstSectionByFileNameAloneWithoutCaseInAnyEncoding) {
    const std::string file =
        "bm0=00:00:05\n"  // before any section
        "[/a/b.avi]\r\n"
        "  bm0 = 00 : 00 : 07  \r\n"  // blanks are removed, CRLF trimmed
        "bm1=00:00:08=\n"             // two "="
        "bm1:00:00:09\n"              // no "="
        "bm1=0:00:09\n"               // too short
        "b=00:00:11\n"                // 10 characters
        "bm2=100:00:00\n"             // a hundred hours is not read back
        "bm3=aa:bb:cc\n"
        "bm4=99:99:99\n"  // 99 h 99 min 99 s, read as such
        "\n\n"
        "anything=00:00:12 trailing\n"
        "bm5=00:01:00\n";
    EXPECT_EQ(readBookmarks(file, "/x/b.avi", 400000), (std::vector<int>{7, 12, 60, 362439}));

    // Fifty distinct bookmarks at most, repeats not counted.
    std::vector<std::string> values;
    for (int i = 1; i <= 500; ++i) values.push_back(clockText(i % 2 ? 1 : i));
    auto got = readBookmarks(section("/v/long.mkv", values), "/v/long.mkv", 100000);
    ASSERT_EQ(got.size(), 50u);
    EXPECT_EQ(got.front(), 1);
    EXPECT_EQ(got.back(), 98);  // 1 and the even seconds 2 … 98, repeats not counted

    // CP949 and UTF-16 files.
    const std::string cp949Name = *text::toCp949("/영화/한글.avi");
    EXPECT_EQ(readBookmarks("[" + cp949Name + "]\nbm0=00:00:42\n", "/다른곳/한글.avi", 100),
              (std::vector<int>{42}));

    std::string utf16 = "\xff\xfe";
    for (char c : std::string("[/a/b.mp4]\r\nbm0=00:00:09\r\n")) {
        utf16 += c;
        utf16 += '\0';
    }
    EXPECT_EQ(readBookmarks(utf16, "/a/b.mp4", 100), (std::vector<int>{9}));
    EXPECT_EQ(readBookmarks("\xef\xbb\xbf[/a/b.mp4]\nbm0=00:00:03\n", "/a/b.mp4", 100),
              (std::vector<int>{3}));
}

TEST(BookmarkFileRead, SurvivesHugeAndRandomFiles) {
    // glibc's CP949 converter reports this name as invalid after consuming all of it.
    const std::string odd = "[D\xc6\xa3\xb2\x90\x8d\xc5\xa2\xe8]\nbm0=00:00:04\n";
    EXPECT_EQ(readBookmarks(odd + "[/a/b.mp4]\nbm0=00:00:05\n", "/a/b.mp4", 100),
              (std::vector<int>{5}));
    EXPECT_EQ(rewriteBookmarks(odd, "/a/b.mp4", {}), odd);

    std::string big(1 << 20, 'x');
    big = "[" + big + "]\n" + big + "\n[/a/b.mp4]\nbm0=00:00:05\n" + big + "=00:00:06\n";
    // Long lines stay whole: the last one is a bookmark line, its name aside.
    EXPECT_EQ(readBookmarks(big, "/a/b.mp4", 100), (std::vector<int>{5, 6}));

    std::string noise;
    for (unsigned i = 0; i < 200000; ++i) noise += static_cast<char>((i * 2654435761u) >> 11);
    EXPECT_NO_FATAL_FAILURE(readBookmarks(noise, "/a/b.mp4", 100));
}

TEST(BookmarkFileRewrite, PutsTheMediumFirstAndKeepsEveryOtherSectionInOrder) {
    const std::string old = section("/m/one.mp4", {"00:00:01"}) +
                            section("/m/two.mp4", {"00:00:02"}) +
                            section("/m/three.mp4", {"00:00:03"});
    EXPECT_EQ(rewriteBookmarks(old, "/m/two.mp4", {65, 3600}),
              section("/m/two.mp4", {"00:01:05", "01:00:00"}) +
                  section("/m/one.mp4", {"00:00:01"}) + section("/m/three.mp4", {"00:00:03"}));
    // An empty list removes the medium's section and nothing else.
    EXPECT_EQ(rewriteBookmarks(old, "/m/one.mp4", {}),
              section("/m/two.mp4", {"00:00:02"}) + section("/m/three.mp4", {"00:00:03"}));
}

TEST(BookmarkFileRewrite, ReplacesOnlyTheSectionOfExactlyThatPath) {
    // One path can end another, differ only in case, or stand inside a bookmark line.
    const std::string old = section("/x/a/b.mp4", {"00:00:01"}) +
                            section("/A/B.MP4", {"00:00:02"}) + section("/a/b.mp4", {"00:00:03"}) +
                            "[/a/b.mp4.old]\nnote=/a/b.mp4\n" + section("/a/b.mp4", {"00:00:04"});
    EXPECT_EQ(rewriteBookmarks(old, "/a/b.mp4", {9}),
              section("/a/b.mp4", {"00:00:09"}) + section("/x/a/b.mp4", {"00:00:01"}) +
                  section("/A/B.MP4", {"00:00:02"}) + "[/a/b.mp4.old]\nnote=/a/b.mp4\n");
}

TEST(BookmarkFileRewrite, AnEmptiedListHidesTheSectionOfASameNamedFileElsewhere) {
    // The bookmarks of a moved file were cleared: they must not come back from the
    // section saved under its old folder.
    const std::string old = section("/old/clip.mp4", {"00:00:10"});
    const std::string out = rewriteBookmarks(old, "/new/clip.mp4", {});
    EXPECT_EQ(out, "[/new/clip.mp4]\n" + old);
    EXPECT_EQ(readBookmarks(out, "/new/clip.mp4", 100), kNone);
    EXPECT_EQ(readBookmarks(out, "/old/clip.mp4", 100), kNone);  // same name, same rule
    EXPECT_EQ(rewriteBookmarks(out, "/new/clip.mp4", {}), out);
}

TEST(BookmarkFileRewrite, KeepsLongLinesManyLinesAndOtherBytesWhole) {
    const std::string cp949 = "[" + *text::toCp949("/옛날/영화.avi") + "]";
    const std::string longLine = "[/" + std::string(1 << 20, 'y') + "]";
    std::string old =
        "  lead=00:00:07  \r\n\r\n" + cp949 + "\r\nbm0=00:00:10\r\n" + longLine + "\n";
    for (int i = 0; i < 100000; ++i) old += "k" + std::to_string(i) + "=v\n";
    const std::string out = rewriteBookmarks(old, "/new.mp4", {5});

    // A line above every section stays there instead of joining the new section.
    std::string expected =
        "lead=00:00:07\n[/new.mp4]\nbm0=00:00:05\n" + cp949 + "\nbm0=00:00:10\n" + longLine + "\n";
    for (int i = 0; i < 100000; ++i) expected += "k" + std::to_string(i) + "=v\n";
    EXPECT_EQ(out, expected);
    EXPECT_EQ(readBookmarks(out, "/new.mp4", 100), (std::vector<int>{5}));
    // A CP949 section of the same path is that medium's and goes.
    EXPECT_EQ(rewriteBookmarks(cp949 + "\nbm0=00:00:10\n[/z]\n", "/옛날/영화.avi", {}), "[/z]\n");
}

namespace {

class BookmarkStoreTest : public ::testing::Test {
protected:
    void SetUp() override { file = test::freshDir("bookmarks") + "/Bookmark.ini"; }

    test::MemorySettingsStore settings;
    std::string file;
};

}  // namespace

TEST_F(BookmarkStoreTest, BlanksAtTheEndsOfANameFindTheirSectionAgain) {
    const std::string medium = "/films/ clip.mp4 ";
    for (double at : {10.0, 20.0}) {
        BookmarkStore store(settings, file);
        store.load(medium, 100);
        store.toggle(at);
        ASSERT_TRUE(store.save());
    }
    BookmarkStore later(settings, file);
    later.load(medium, 100);
    EXPECT_EQ(later.positions(), (std::vector<int>{10, 20}));
    EXPECT_EQ(test::readFile(file), "[" + medium + "]\nbm0=00:00:10\nbm1=00:00:20\n");
}

TEST_F(BookmarkStoreTest, ToggleStopsAtFiftyAndTheFiftiethIsSaved) {
    BookmarkStore store(settings, file);
    store.load("/a/b.mp4", 5000);
    for (int s : upTo(50, 7)) store.toggle(s);
    EXPECT_EQ(store.positions().size(), 50u);
    EXPECT_EQ(store.toggle(4000), std::nullopt);
    EXPECT_EQ(store.positions().size(), 50u);
    ASSERT_TRUE(store.save());

    BookmarkStore again(settings, file);
    again.load("/a/b.mp4", 5000);
    EXPECT_EQ(again.positions(), upTo(50, 7));  // the fiftieth is saved too
    // The same name in another folder finds them; the length is cut to whole seconds and
    // a bookmark at the length is none.
    again.load("/elsewhere/b.mp4", 350.9);
    EXPECT_EQ(again.positions(), upTo(49, 7));
}

TEST_F(BookmarkStoreTest, PreviousAndNextFollowTheBookmarksAroundThePosition) {
    BookmarkStore store(settings, file);
    store.load("/a/b.mp4", 100);
    EXPECT_EQ(store.previousTarget(50), std::nullopt);  // no bookmarks: no move
    EXPECT_EQ(store.nextTarget(50), std::nullopt);
    for (int s : {30, 10, 20}) store.toggle(s);

    const std::vector<std::pair<double, std::optional<int>>> previous = {
        {0, 0}, {9.9, 0}, {10.5, 0}, {15, 10}, {20, 10}, {20.9, 10}, {25, 20}, {31, 30}, {99, 30}};
    for (auto [at, to] : previous) EXPECT_EQ(store.previousTarget(at), to) << at;
    const std::vector<std::pair<double, std::optional<int>>> next = {
        {0, 10}, {9.9, 10}, {10, 20}, {15, 20}, {29.5, 30}, {30, std::nullopt}, {80, std::nullopt}};
    for (auto [at, to] : next) EXPECT_EQ(store.nextTarget(at), to) << at;

    store.toggle(20);
    store.toggle(30);
    EXPECT_EQ(store.nextTarget(5), 10);
    EXPECT_EQ(store.nextTarget(10), std::nullopt);  // one bookmark, standing on it
    EXPECT_EQ(store.previousTarget(12), 10);
}

// Off, nothing changes; turned on while the medium plays, its stored list is read, not
// replaced by nothing.
TEST_F(BookmarkStoreTest, TurnedOnLateTheStoredListIsKept) {
    const std::string old = section("/a/b.mp4", {"00:00:10"}) + section("/c.mp4", {"00:00:20"});
    test::writeFile(file, old);
    settings.putInt(sections::ConfigControl, "Use Bookmark", 0);
    BookmarkStore store(settings, file);
    store.load("/a/b.mp4", 100);
    EXPECT_EQ(store.toggle(30), std::nullopt);
    settings.putInt(sections::ConfigControl, "Use Bookmark", 1);
    EXPECT_TRUE(store.save());
    EXPECT_EQ(test::readFile(file), old);
    EXPECT_EQ(store.nextTarget(0), 10);
}

TEST_F(BookmarkStoreTest, AddressesAndUnstorableNamesHaveNoBookmarks) {
    BookmarkStore store(settings, file);
    for (std::string path : {"http://host/b.mp4", "/a/b\n[/c.mp4]\nbm0=00:00:01.mp4"}) {
        store.load(path, 100);
        EXPECT_EQ(store.toggle(30), std::nullopt);
        EXPECT_TRUE(store.positions().empty());
        EXPECT_TRUE(store.save());
    }
    EXPECT_FALSE(fileExists(file));
    store.forget();
    EXPECT_EQ(store.toggle(30), std::nullopt);  // no medium
}

// A full disk is BookmarkCaptureLinkTest.cpp's and SaveSafetyTest.cpp's; a bookmark "file"
// that cannot be read is not replaced by one without its sections.
TEST_F(BookmarkStoreTest, AnUnreadableFileIsNotReplaced) {
    BookmarkStore blocked(settings, test::freshDir("bookmark-dir"));
    blocked.load("/a/b.mp4", 100);
    blocked.toggle(10);
    EXPECT_FALSE(blocked.save());
}
