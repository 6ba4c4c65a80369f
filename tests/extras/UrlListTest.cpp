#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/IniSettingsStore.h"
#include "extras/StreamAddressModel.h"
#include "extras/UrlListFile.h"
#include "support/TestSupport.h"

namespace orvalis {
namespace {

using Entries = std::vector<StreamEntry>;

TEST(UrlListFile, SplitsAtTheLastEqualsStopsAtALineWithoutAndIsBounded) {
    EXPECT_EQ(
        parseUrlList("KBS=mms://a.example/live?ch=1&q=hi\n  Radio = http://b.example/ \n"
                     "no sign here\nLate=http://c.example/\n"),
        (Entries{{"KBS=mms://a.example/live?ch=1&q", "hi"}, {"Radio ", " http://b.example/"}}));
    // An empty line is a line without "=", too; the last line needs no line break.
    EXPECT_EQ(parseUrlList("A=1\n\nB=2"), (Entries{{"A", "1"}}));
    EXPECT_EQ(parseUrlList("A=1\nB=2"), (Entries{{"A", "1"}, {"B", "2"}}));
    // Without the escaped list's first line, "%" is text like any other.
    EXPECT_EQ(parseUrlList("A%3D=http://x/%20\n"), (Entries{{"A%3D", "http://x/%20"}}));
    EXPECT_EQ(parseUrlList("=only address\nname only=\n"),
              (Entries{{"", "only address"}, {"name only", ""}}));

    // The byte-order marks and UTF-16 are the text rule's (tests/base); a CP949 list is read too.
    EXPECT_EQ(parseUrlList("\xB9\xE6\xBC\xDB=mms://x/\r\nB=y\r\n"),  // "방송", CR LF
              (Entries{{"방송", "mms://x/"}, {"B", "y"}}));
    EXPECT_EQ(parseUrlList(std::string("A=b\0junk\nC=d\n", 13)), (Entries{{"A", "b"}, {"C", "d"}}));

    // Long lines stay one entry; huge lists are bounded.
    const std::string longUrl = "http://x/" + std::string(1 << 20, 'a');
    EXPECT_EQ(parseUrlList("Long=" + longUrl + "\nNext=y\n"),
              (Entries{{"Long", longUrl}, {"Next", "y"}}));

    std::string many;
    for (std::size_t i = 0; i < kMaxStreamEntries + 5; ++i)
        many += "n" + std::to_string(i) + "=u\n";
    const Entries entries = parseUrlList(many);
    ASSERT_EQ(entries.size(), kMaxStreamEntries);
    EXPECT_EQ(entries.back().name, "n" + std::to_string(kMaxStreamEntries - 1));
}

TEST(UrlListFile, WhatIsWrittenReadsBackIdentically) {
    const std::string dir = test::freshDir("urlfile");
    const std::string path = dir + "/URL.txt";
    // A list every reader knows stays in the plain layout.
    const Entries plain{{"방송", "mms://a/"}, {"이름", "편집하려면 두 번 클릭하세요."}};
    ASSERT_TRUE(writeUrlFile(path, plain));
    EXPECT_EQ(test::readFile(path), "방송=mms://a/\n이름=편집하려면 두 번 클릭하세요.\n");
    EXPECT_EQ(readUrlFile(path), plain);

    // Query strings, "=" and "%" in names, line breaks and blanks at the ends: all come back.
    const Entries hard{{"KBS=1 라디오", "http://h/live?ch=1&q=hi%20x"},
                       {" two\nlines ", " http://b/\r "},
                       {"", "rtsp://c/?a="},
                       {"\xEF\xBB\xBF"
                        "bom",
                        "x"},
                       {"방송", "mms://a/"}};
    ASSERT_TRUE(writeUrlFile(path, hard));
    EXPECT_EQ(readUrlFile(path), hard);
    EXPECT_EQ(parseUrlList(formatUrlList(hard)), hard);
    // An address holding bytes that are not UTF-8 (a CP949 name pasted into it) is escaped
    // too: plain, the whole file would read back as CP949.
    const Entries raw{{"os", "http://r/\xB9\xE6\xBC\xDB x"}};
    EXPECT_EQ(parseUrlList(formatUrlList(raw)), raw);
    // Every line keeps one "=", so a list reader that splits at the last one sees each name.
    const std::string text = test::readFile(path);
    EXPECT_NE(text.find("\nKBS%3D1 라디오=http://h/live?ch%3D1&q%3Dhi%2520x\n"), std::string::npos);

    EXPECT_FALSE(readUrlFile(dir + "/missing.txt"));
    EXPECT_FALSE(readUrlFile(dir));
    // A path under a plain file cannot be created; the file there stays as it was.
    EXPECT_FALSE(writeUrlFile(path + "/URL.txt", plain));
    EXPECT_EQ(readUrlFile(path), hard);
}

class StreamModelTest : public ::testing::Test {
protected:
    test::MemorySettingsStore store;
    test::FakePrompter prompter;
    std::string dir = test::freshDir("streams");
    std::string urlFile = dir + "/URL.txt";

    void putEntry(int i, const std::string& name, const std::string& url) {
        const std::string section = "Config\\URL\\" + std::to_string(i);
        store.putString(section, "Name", name);
        store.putString(section, "URL", url);
    }
    StreamAddressModel open() { return StreamAddressModel(store, prompter, urlFile); }
    // The dialog opened on these stored rows.
    StreamAddressModel openWith(const Entries& rows) {
        store.putInt("Config\\URL", "Count", int(rows.size()));
        for (std::size_t i = 0; i < rows.size(); ++i) putEntry(int(i), rows[i].name, rows[i].url);
        return open();
    }
};

TEST_F(StreamModelTest, ReadsTheStoreSkippingEmptyAndMissingEntries) {
    EXPECT_TRUE(open().rows().empty());  // Count 0: the built-in list, which is empty
    store.putInt("Config\\URL", "Count", 4);
    putEntry(0, "A", "http://a/");
    putEntry(1, "", "http://nameless/");
    putEntry(3, "D", "http://d/");
    putEntry(4, "Beyond", "http://beyond-count/");
    EXPECT_EQ(open().rows(), (Entries{{"A", "http://a/"}, {"D", "http://d/"}}));

    store.putInt("Config\\URL", "Count", -1);
    EXPECT_TRUE(open().rows().empty());
    // A garbled count reads what is there, up to the bound.
    store.putInt("Config\\URL", "Count", 1000000);
    putEntry(999999, "Z", "http://z/");
    EXPECT_EQ(
        open().rows(),
        (Entries{{"A", "http://a/"}, {"D", "http://d/"}, {"Beyond", "http://beyond-count/"}}));
}

TEST_F(StreamModelTest, ClosingStoresRowsButNeverPlaceholders) {
    {
        StreamAddressModel m =
            openWith({{"A", "http://a/"}, {"B", "http://b/"}, {"C", "http://c/"}});
        EXPECT_EQ(m.columnWidth(0), 100);
        EXPECT_EQ(m.columnWidth(1), 300);
        m.setColumnWidth(0, 140);
        m.setColumnWidth(1, -5);  // not a width
        ASSERT_TRUE(prompter.answers.empty());
        ASSERT_TRUE(m.removeRows({1}));
        m.setCell(0, StreamAddressModel::AddressColumn, "http://renamed/");
        m.clickRow(7);  // no such row: nothing
        EXPECT_TRUE(m.addPlaceholder());
        EXPECT_FALSE(m.addPlaceholder());  // the last row is a placeholder already
        m.close();
        m.close();
    }
    EXPECT_EQ(store.getInt("Config\\URL", "Count", 0), 3);  // every row counts
    EXPECT_EQ(store.getInt("Config\\URL", "Column Width0", 0), 140);
    EXPECT_EQ(store.getInt("Config\\URL", "Column Width1", 0), 300);
    EXPECT_EQ(store.getString("Config\\URL\\1", "Name"), "C");
    // The placeholder's row was C's before: its old entry must not come back.
    EXPECT_FALSE(store.has("Config\\URL\\2", "Name"));
    for (const std::string& w : store.writes)
        EXPECT_EQ(w.find("편집하려면"), std::string::npos) << w;
    StreamAddressModel again = open();
    EXPECT_EQ(again.rows(), (Entries{{"A", "http://renamed/"}, {"C", "http://c/"}}));
    EXPECT_EQ(again.columnWidth(0), 140);
}

TEST_F(StreamModelTest, DeletingAsksWithTheCountAndNoKeepsTheRows) {
    StreamAddressModel m = openWith({{"n0", "u"}, {"n1", "u"}, {"n2", "u"}});
    EXPECT_FALSE(m.removeRows({}));
    EXPECT_FALSE(m.removeRows({9, -1}));
    EXPECT_TRUE(prompter.messages.empty());
    prompter.answers = {MessageResult::No};
    EXPECT_FALSE(m.removeRows({2, 0, 2}));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text,
              "선택된 2개의 항목을 삭제할까요?\n\n삭제된 항목은 되살릴 수 없습니다.");
    EXPECT_EQ(prompter.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(m.rows().size(), 3u);
    EXPECT_TRUE(m.removeRows({2, 0}));
    EXPECT_EQ(m.rows(), (Entries{{"n1", "u"}}));
}

TEST_F(StreamModelTest, LoadingAsksThenReplacesOrKeepsTheList) {
    StreamAddressModel m = openWith({{"Old", "http://old/"}});
    const Entries old = m.rows();

    prompter.answers = {MessageResult::No};
    EXPECT_FALSE(m.loadFromFile());
    EXPECT_TRUE(prompter.dialogs.empty());
    EXPECT_EQ(prompter.messages.back().text, "현재 목록을 모두 지우고 파일에서 불러올까요?");

    prompter.openAnswers = {{}};  // the file dialog cancelled
    EXPECT_FALSE(m.loadFromFile());
    ASSERT_EQ(prompter.dialogs.size(), 1u);
    EXPECT_EQ(prompter.dialogs[0].folder, dir);
    EXPECT_EQ(prompter.dialogs[0].fileName, "URL.txt");

    prompter.openAnswers = {{dir + "/nothing.txt"}};
    EXPECT_FALSE(m.loadFromFile());
    EXPECT_EQ(prompter.messages.back().text, "파일을 열 수 없습니다.");
    EXPECT_EQ(prompter.messages.back().icon, MessageIcon::Stop);
    EXPECT_EQ(m.rows(), old);

    test::writeFile(urlFile, "X=http://x/\r\nY=http://y/\r\nend\r\n");
    prompter.openAnswers = {{urlFile}};
    EXPECT_TRUE(m.loadFromFile());
    EXPECT_EQ(m.rows(), (Entries{{"X", "http://x/"}, {"Y", "http://y/"}}));
}

TEST_F(StreamModelTest, SavingWritesPlaceholdersAndAsksBeforeReplacing) {
    StreamAddressModel m = openWith({{"A", "http://a/"}});
    m.addPlaceholder();

    prompter.saveAnswers = {urlFile};
    EXPECT_TRUE(m.saveToFile());
    EXPECT_EQ(test::readFile(urlFile), "A=http://a/\n이름=편집하려면 두 번 클릭하세요.\n");
    EXPECT_TRUE(prompter.messages.empty());  // nothing to replace yet

    m.setCell(0, StreamAddressModel::NameColumn, "B");
    prompter.saveAnswers = {urlFile};
    prompter.answers = {MessageResult::No};
    EXPECT_FALSE(m.saveToFile());
    EXPECT_EQ(prompter.messages.back().buttons, MessageButtons::YesNo);
    EXPECT_EQ(test::readFile(urlFile).substr(0, 2), "A=");

    prompter.saveAnswers = {urlFile + "/under-a-file.txt"};
    EXPECT_FALSE(m.saveToFile());
    EXPECT_EQ(prompter.messages.back().text, "파일을 생성할 수 없습니다.");
    EXPECT_EQ(prompter.messages.back().icon, MessageIcon::Stop);

    prompter.saveAnswers = {std::nullopt};
    EXPECT_FALSE(m.saveToFile());
}

TEST_F(StreamModelTest, AHundredThousandLineFileSurvivesTheRoundTripThroughTheStore) {
    std::string bytes;
    for (int i = 0; i < 100000; ++i)
        bytes += "n" + std::to_string(i) + "=http://h/" + std::to_string(i) + "\n";
    test::writeFile(urlFile, bytes);
    IniSettingsStore ini(test::freshDir("bigstore") + "/Orvalis.conf");
    {
        StreamAddressModel m(ini, prompter, urlFile);
        prompter.openAnswers = {{urlFile}};
        ASSERT_TRUE(m.loadFromFile());
        m.close();
    }
    const Entries back = readStoredStreams(ini);
    ASSERT_EQ(back.size(), 100000u);
    EXPECT_EQ(back.back(), (StreamEntry{"n99999", "http://h/99999"}));
}

}  // namespace
}  // namespace orvalis
