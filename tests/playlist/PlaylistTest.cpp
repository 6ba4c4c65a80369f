#include <gtest/gtest.h>
#include <sys/stat.h>

#include "base/SettingsKeys.h"
#include "playlist/FakeFileSystem.h"
#include "playlist/Playlist.h"
#include "support/TestSupport.h"

using namespace orvalis;

namespace {

class PlaylistTest : public ::testing::Test {
protected:
    void add(std::initializer_list<std::string> paths) { test::addFiles(playlist, fs, paths); }
    std::vector<std::string> paths() const { return test::rowPaths(playlist.model()); }
    int marked() const { return playlist.model().firstMarked(); }
    void setPlaylist(const char* key, int value) {
        settings.putInt(sections::ConfigPlaylist, key, value);
    }

    test::MemorySettingsStore settings;
    test::FakePrompter prompter;
    test::FakeFileSystem fs;
    Playlist playlist{settings, prompter, fs};
};

}  // namespace

TEST_F(PlaylistTest, ContinueStartsTheMarkedRowThenAdvancesAndEndsByTheRepeatSetting) {
    EXPECT_FALSE(playlist.PlayEntry(-1, false).opens());  // empty list: nothing
    EXPECT_FALSE(playlist.PlayPrevious().opens());
    EXPECT_TRUE(playlist.PlayEntry(-1, true).stops());
    add({"/v/a.avi", "/v/b.avi", "/v/c.avi"});

    // Nothing loaded and nothing marked: row 0; then the marked row.
    EXPECT_EQ(playlist.PlayEntry(-1, false).path, "/v/a.avi");
    EXPECT_EQ(playlist.PlayEntry(-1, false).row, 0);
    // Loaded: the next row, and -2 is the same as -1.
    EXPECT_EQ(playlist.PlayEntry(-2, true).path, "/v/b.avi");
    EXPECT_EQ(marked(), 1);
    EXPECT_EQ(playlist.model().FirstSelected(), 1);
    EXPECT_EQ(playlist.PlayEntry(-1, true).path, "/v/c.avi");
    EXPECT_TRUE(playlist.PlayEntry(-1, true).stops());
    setPlaylist("Repeat List", 1);
    EXPECT_EQ(playlist.PlayEntry(-1, true).path, "/v/a.avi");

    // A list just loaded starts at its marked row instead of advancing, once.
    playlist.AddRecentList("/l/x.m3u");
    EXPECT_EQ(playlist.PlayEntry(-1, true).row, 0);
    EXPECT_EQ(playlist.PlayEntry(-1, true).row, 1);
    playlist.AddRecentList("/l/x.m3u");
    playlist.fileOpened();
    EXPECT_EQ(playlist.PlayEntry(-1, true).row, 1);

    EXPECT_FALSE(playlist.PlayItem(3).opens());
    EXPECT_FALSE(playlist.PlayItem(-1).opens());
    EXPECT_EQ(playlist.PlayEntry(2, true).path, "/v/c.avi");
    // Previous stops at the first row.
    EXPECT_EQ(playlist.PlayPrevious().row, 1);
    EXPECT_EQ(playlist.PlayPrevious().row, 0);
    EXPECT_EQ(playlist.PlayPrevious().row, 0);
}

TEST_F(PlaylistTest, ADeletedMarkedRowIsClampedToTheLastRowAndThenTheEndRuleApplies) {
    add({"/v/a.avi", "/v/b.avi", "/v/c.avi"});
    playlist.PlayItem(2);
    playlist.model().DeleteSelected();  // the marked row goes, currentIndex stays 2
    EXPECT_TRUE(playlist.PlayEntry(-1, true).stops());
    setPlaylist("Repeat List", 1);
    EXPECT_EQ(playlist.PlayEntry(-1, true).row, 0);
}

TEST_F(PlaylistTest, PlayedRowsLeaveTheListWithAddItemOffOrFromAnOpticalDisc) {
    add({"/v/a.avi", "/v/b.avi", "/v/c.avi", "/v/d.avi"});
    setPlaylist("Add Item", 0);
    PlayRequest started = playlist.PlayItem(1);
    EXPECT_EQ(started.path, "/v/b.avi");
    EXPECT_EQ(paths(), (std::vector<std::string>{"/v/a.avi", "/v/c.avi", "/v/d.avi"}));
    EXPECT_EQ(marked(), -1);
    EXPECT_EQ(playlist.model().currentIndex, 1);
    // The row that followed the removed one now sits at 1 and is passed over.
    EXPECT_EQ(playlist.PlayEntry(-1, true).path, "/v/d.avi");

    setPlaylist("Add Item", 1);
    fs.opticalMounts = {"/media/cdrom"};
    add({"/media/cdrom/track.mp3"});
    playlist.PlayItem(2);
    EXPECT_EQ(playlist.model().count(), 2);
    setPlaylist("Add From CDROM", 1);
    add({"/media/cdrom/track.mp3"});
    EXPECT_EQ(playlist.PlayItem(2).path, "/media/cdrom/track.mp3");
    EXPECT_EQ(playlist.model().count(), 3);
}

TEST_F(PlaylistTest, SortAlternatesDirectionKeepsEqualNamesInOrderAndCarriesTheMarker) {
    add({"/z/b.avi", "/y/A.avi", "/x/a.avi", "/w/c.avi", "/v/a.AVI"});
    playlist.PlayItem(3);
    playlist.SortByName();
    EXPECT_EQ(paths(), (std::vector<std::string>{"/y/A.avi", "/x/a.avi", "/v/a.AVI", "/z/b.avi",
                                                 "/w/c.avi"}));
    EXPECT_EQ(marked(), 4);
    EXPECT_EQ(playlist.model().FirstSelected(), -1);
    playlist.SortByName();
    EXPECT_EQ(paths(), (std::vector<std::string>{"/w/c.avi", "/z/b.avi", "/y/A.avi", "/x/a.avi",
                                                 "/v/a.AVI"}));
    EXPECT_TRUE(playlist.model().sortAscending);
}

TEST_F(PlaylistTest, ShuffleOrdersByItsKeysKeepsEveryRowAndStartsRowZero) {
    add({"/v/a.avi", "/v/b.avi", "/v/c.avi", "/v/d.avi"});
    std::vector<int> keys{7, 3, 7, 3 + 32768};  // only the low 15 bits count
    size_t next = 0;
    PlayRequest started = playlist.Shuffle([&] { return keys[next++]; });
    EXPECT_EQ(paths(), (std::vector<std::string>{"/v/b.avi", "/v/d.avi", "/v/a.avi", "/v/c.avi"}));
    EXPECT_EQ(started.path, "/v/b.avi");
    EXPECT_EQ(marked(), 0);
}

TEST_F(PlaylistTest, DraggedRowsMoveTogetherInTheirOrder) {
    add({"/0.avi", "/1.avi", "/2.avi", "/3.avi", "/4.avi", "/5.avi"});
    auto select = [&](std::initializer_list<int> rows) {
        playlist.model().clearSelection();
        for (int r : rows) playlist.model().at(r).selected = true;
    };
    select({1, 3});
    playlist.model().moveSelected(5);
    EXPECT_EQ(paths(), (std::vector<std::string>{"/0.avi", "/2.avi", "/4.avi", "/1.avi", "/3.avi",
                                                 "/5.avi"}));
    EXPECT_EQ(playlist.model().selectedCount(), 2);
    select({0, 2});  // onto a moved row itself
    playlist.model().moveSelected(2);
    EXPECT_EQ(paths(), (std::vector<std::string>{"/2.avi", "/0.avi", "/4.avi", "/1.avi", "/3.avi",
                                                 "/5.avi"}));
    select({0});
    playlist.model().moveSelected(-1);
    EXPECT_EQ(paths().back(), "/2.avi");
}

TEST_F(PlaylistTest, AddPathAppendsSupportedMediaOnceAndRefusesWhatItCannotRead) {
    EXPECT_EQ(playlist.AddPath("/v/a.avi"), 1);
    EXPECT_EQ(playlist.AddPath("/v/notes.txt"), 1);  // unsupported: silently not added
    EXPECT_EQ(playlist.AddPath("/v/a.avi"), 1);      // already listed: selected, not added
    EXPECT_EQ(playlist.AddPath("/V/A.AVI"), 1);      // another letter case: another file
    EXPECT_EQ(paths(), (std::vector<std::string>{"/v/a.avi", "/V/A.AVI"}));
    EXPECT_EQ(playlist.model().selectedCount(), 2);
    EXPECT_EQ(playlist.AddPath("a.avi"), -1);  // a row already shows this text
    EXPECT_EQ(playlist.AddPath("A.avi"), 1);
    playlist.model().removeAt(2);
    playlist.model().removeAt(1);
    add({"http://radio.example/live.mp3"});
    EXPECT_EQ(playlist.model().at(1).displayName, "live.mp3");

    std::string dir = test::freshDir("addpath");
    test::writeFile(dir + "/binary.m3u", std::string("\x7f"
                                                     "ELF\0\0\0\x02\x01",
                                                     9));
    for (const std::string& bad : {dir + "/missing.pls", dir + "/binary.m3u"}) {
        prompter.messages.clear();
        EXPECT_EQ(playlist.AddPath(bad), 0);
        ASSERT_EQ(prompter.messages.size(), 1u);
        EXPECT_EQ(prompter.messages[0].text,
                  bad + "\n\n위의 파일이 존재하지 않거나 열 수 없습니다.");
        EXPECT_EQ(playlist.model().count(), 2);
    }

    // A list without entries changes nothing and says so.
    test::writeFile(dir + "/empty.pls", "[playlist]\nNumberOfEntries=0\n");
    test::writeFile(dir + "/empty.m3u", "#EXTM3U\n");
    for (const std::string& empty : {dir + "/empty.pls", dir + "/empty.m3u"}) {
        EXPECT_EQ(playlist.AddPath(empty), 0);
        EXPECT_EQ(prompter.messages.back().text,
                  empty + "\n\n위의 목록 파일에는 재생할 항목이 없습니다.");
        EXPECT_EQ(playlist.model().count(), 2);
        EXPECT_EQ(playlist.recents().count(), 0);
    }

    test::writeFile(dir + "/list.m3u", "#EXTM3U\nx.avi\ny.avi\n");
    playlist.PlayItem(1);
    EXPECT_EQ(playlist.AddPath(dir + "/list.m3u"), 1);
    EXPECT_EQ(paths(), (std::vector<std::string>{dir + "/x.avi", dir + "/y.avi"}));
    EXPECT_EQ(marked(), 0);
    EXPECT_TRUE(playlist.model().at(0).focused);
    EXPECT_TRUE(playlist.model().justLoaded);
    EXPECT_EQ(playlist.lastListFile(), dir + "/list.m3u");
}

TEST_F(PlaylistTest, ListsAndMediaAreToldApartByWhatTheFilesHold) {
    std::string dir = test::freshDir("kinds");
    // An HLS playlist is one stream for the player, whatever its extension.
    test::writeFile(dir + "/live.m3u8",
                    "#EXTM3U\n#EXT-X-TARGETDURATION:6\n#EXTINF:6.0,\nseg0.ts\nseg1.ts\n");
    test::writeFile(dir + "/master.m3u",
                    "#EXTM3U\n#EXT-X-STREAM-INF:BANDWIDTH=1280000\nlow.m3u8\n");
    test::writeFile(dir + "/plain.m3u8", "#EXTM3U\n한글.mp3\n");
    // Windows Media redirectors, and reference files under a media extension, are lists...
    test::writeFile(dir + "/radio.wax", "<ASX version=\"3.0\"><Entry><Ref href=\"http://r/1\"/>");
    test::writeFile(dir + "/ref.asf", "[Reference]\r\nRef1=http://r/2.asf?MSWMExt=.asf\r\n");
    test::writeFile(dir + "/ref.wma",
                    "\xEF\xBB\xBF  <asx version=\"3.0\"><ref href=\"mms://r/3\"/>");
    // ...but a real medium under either extension plays as a medium.
    const std::string asfHeader(
        "0&\xB2u\x8E"
        "f\xCF\x11\xA6\xD9\0\xAA\0b\xCEl",
        16);
    test::writeFile(dir + "/song.wma", asfHeader + std::string(200, '\0'));
    test::writeFile(dir + "/real.wax", asfHeader + std::string(200, '\0'));

    add({"/v/old.avi"});
    auto rowsAfter = [&](const std::string& path) {
        EXPECT_EQ(playlist.AddPath(path), 1) << path;
        return paths();
    };
    EXPECT_EQ(rowsAfter(dir + "/live.m3u8"),
              (std::vector<std::string>{"/v/old.avi", dir + "/live.m3u8"}));
    for (const char* address : {"https://cdn.example/hls/index.m3u8",
                                "http://radio.example/listen.pls", "http://radio.example/a.m3u"})
        EXPECT_EQ(rowsAfter(address).back(), address);
    EXPECT_EQ(playlist.DropFiles({dir + "/master.m3u"}).path, dir + "/master.m3u");
    EXPECT_EQ(playlist.model().count(), 6);
    EXPECT_EQ(rowsAfter(dir + "/plain.m3u8"), std::vector<std::string>{dir + "/한글.mp3"});
    EXPECT_EQ(rowsAfter(dir + "/radio.wax"), std::vector<std::string>{"http://r/1"});
    EXPECT_EQ(rowsAfter(dir + "/ref.asf"), std::vector<std::string>{"http://r/2.asf?MSWMExt=.asf"});
    EXPECT_EQ(rowsAfter(dir + "/ref.wma"), std::vector<std::string>{"mms://r/3"});
    EXPECT_EQ(rowsAfter(dir + "/song.wma"),
              (std::vector<std::string>{"mms://r/3", dir + "/song.wma"}));
    EXPECT_EQ(rowsAfter(dir + "/real.wax").back(), dir + "/real.wax");
    EXPECT_EQ(rowsAfter("/not/here.wma").back(), "/not/here.wma");
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(PlaylistTest, DropsAddRegularFilesInNameOrderAndStartTheFirstOfThem) {
    add({"/v/old.avi"});
    fs.files = {"/d/b.avi", "/d/a.mp3", "/d/notes.txt"};
    fs.folders = {"/d/folder.avi"};
    PlayRequest r = playlist.DropFiles(
        {"/d/b.avi", "/d/folder.avi", "/d/gone.avi", "/d/notes.txt", "/d/a.mp3"});
    EXPECT_EQ(paths(), (std::vector<std::string>{"/v/old.avi", "/d/a.mp3", "/d/b.avi"}));
    EXPECT_EQ(r.path, "/d/a.mp3");
    EXPECT_FALSE(playlist.DropFiles({"/d/folder.avi"}).opens());

    // A list dropped alone replaces the list and starts its first row; one that cannot be
    // read leaves the rows alone.
    std::string dir = test::freshDir("drop");
    test::writeFile(dir + "/l.pls", "[playlist]\nFile1=/m/one.avi\nFile2=/m/two.avi\n");
    EXPECT_FALSE(playlist.DropFiles({dir + "/broken.asx"}).opens());
    EXPECT_EQ(playlist.model().count(), 3);
    EXPECT_EQ(playlist.DropFiles({dir + "/l.pls"}).path, "/m/one.avi");
    EXPECT_EQ(paths(), (std::vector<std::string>{"/m/one.avi", "/m/two.avi"}));

    // Dropped with media files, a list is one more name in the sorted order.
    fs.files.insert({dir + "/l.pls", dir + "/z.avi", dir + "/a.avi"});
    playlist.DropFiles({dir + "/z.avi", dir + "/l.pls", dir + "/a.avi"});
    EXPECT_EQ(paths(), (std::vector<std::string>{"/m/one.avi", "/m/two.avi", dir + "/z.avi"}));

    setPlaylist("Auto Delete", 1);
    std::vector<std::string> many;
    for (int i = 0; i < 1005; ++i) {
        many.push_back("/many/" + std::to_string(10000 + i) + ".avi");
        fs.files.insert(many.back());
    }
    EXPECT_EQ(playlist.DropFiles(many).path, "/many/10000.avi");
    EXPECT_EQ(playlist.model().count(), 1000);
    // Auto Delete empties the list only for something that takes its place.
    EXPECT_FALSE(playlist.DropFiles({dir + "/broken.asx"}).opens());
    EXPECT_EQ(playlist.model().count(), 1000);
}

TEST_F(PlaylistTest, PathsFromTheCommandLineAddResolveAndStartEachOneWhole) {
    fs.cwd = "/";
    EXPECT_EQ(playlist.AddPaths({"a.avi"}).path, "/a.avi");
    fs.cwd = "/home/video";
    PlayRequest r = playlist.AddPaths({"/v/x.avi", "b.avi", "http://radio/s.mp3"});
    EXPECT_EQ(r.path, "/v/x.avi");
    EXPECT_EQ(paths(), (std::vector<std::string>{"/a.avi", "/v/x.avi", "/home/video/b.avi",
                                                 "http://radio/s.mp3"}));
    // A path already listed is started.
    EXPECT_EQ(playlist.AddPaths({"/v/x.avi"}).row, 1);
    EXPECT_EQ(playlist.model().count(), 4);
    // Letter case makes another file; ";", blanks at either end and bytes that are not
    // UTF-8 are part of a name.
    EXPECT_EQ(playlist.AddPaths({"/V/X.AVI"}).path, "/V/X.AVI");
    EXPECT_EQ(playlist.AddPaths({"/v/a;b.avi", " lead.avi", "/v/\xc7\xd1\xb1\xdb.avi"}).path,
              "/v/a;b.avi");
    EXPECT_EQ(paths(),
              (std::vector<std::string>{"/a.avi", "/v/x.avi", "/home/video/b.avi",
                                        "http://radio/s.mp3", "/V/X.AVI", "/v/a;b.avi",
                                        "/home/video/ lead.avi", "/v/\xc7\xd1\xb1\xdb.avi"}));
    playlist.model().clear();

    std::string dir = test::freshDir("pathlist");
    test::writeFile(dir + "/l.asx", "<ref href = \"/m/in-list.avi\" />\n");
    EXPECT_EQ(playlist.AddPaths({dir + "/l.asx"}).path, "/m/in-list.avi");
    setPlaylist("Auto Delete", 1);
    EXPECT_EQ(playlist.AddPaths({"/v/only.avi"}).row, 0);
    EXPECT_EQ(paths(), std::vector<std::string>{"/v/only.avi"});
    // A list that cannot be read starts nothing and leaves the rows as they were.
    for (int autoDelete : {1, 0}) {
        setPlaylist("Auto Delete", autoDelete);
        EXPECT_FALSE(playlist.AddPaths({dir + "/missing.m3u"}).opens());
        EXPECT_EQ(paths(), std::vector<std::string>{"/v/only.avi"});
    }
}

TEST_F(PlaylistTest, TheAddFilesDialogAddsInByteOrderAndOpenAndPlayStartsTheFirstAdded) {
    settings.putString(sections::Config, "Recent Folder", "/recent");
    EXPECT_FALSE(playlist.OpenAndPlay().opens());  // cancelled
    ASSERT_EQ(prompter.dialogs.size(), 1u);
    EXPECT_EQ(prompter.dialogs[0].folder, "/recent");

    add({"/v/old.avi"});
    settings.putString(sections::Config, "Default Folder", "/default");
    prompter.openAnswers = {{"/new/b.avi", "/new/a.avi"}};
    EXPECT_EQ(playlist.OpenAndPlay().path, "/new/a.avi");
    EXPECT_EQ(prompter.dialogs.back().folder, "/default");
    EXPECT_EQ(paths(), (std::vector<std::string>{"/v/old.avi", "/new/a.avi", "/new/b.avi"}));
    EXPECT_EQ(settings.getString(sections::Config, "Recent Folder"), "/new");

    prompter.openAnswers = {{"/v/old.avi"}};
    EXPECT_EQ(playlist.AddFilesDialog()->row, 0);
    prompter.openAnswers = {{"/nowhere/list.m3u"}};
    EXPECT_FALSE(playlist.OpenAndPlay().opens());  // row 0 is selected, but nothing was added
    EXPECT_EQ(playlist.model().count(), 3);
}

TEST_F(PlaylistTest, SaveListAsksBeforeOverwritingAndWritesM3uUnlessAsxIsChosen) {
    playlist.SaveList();
    EXPECT_TRUE(prompter.dialogs.empty());  // nothing to save
    add({"/v/a.avi", "/v/b.avi"});
    std::string dir = test::freshDir("save");
    test::writeFile(dir + "/old.m3u", "keep me");
    prompter.saveAnswers = {dir + "/old.m3u", dir + "/new.asx"};
    prompter.answers = {MessageResult::No};
    playlist.SaveList();
    EXPECT_EQ(prompter.dialogs[0].fileName, "Playlist.m3u");
    EXPECT_EQ(prompter.messages.at(0).text, "같은 이름의 파일이 존재합니다. 덮어쓸까요?");
    EXPECT_EQ(test::readFile(dir + "/old.m3u"), "keep me");
    EXPECT_TRUE(test::readFile(dir + "/new.asx").starts_with("<asx version"));
    EXPECT_EQ(playlist.lastListFile(), dir + "/new.asx");

    // A hand-typed other extension still gets a list, and is still a recent list file.
    prompter.saveAnswers = {dir + "/list.txt"};
    playlist.SaveList();
    EXPECT_EQ(prompter.dialogs.back().fileName, dir + "/new.asx");
    EXPECT_EQ(test::readFile(dir + "/list.txt"),
              "#EXTM3U\n#EXTINF:0,a.avi\n/v/a.avi\n#EXTINF:0,b.avi\n/v/b.avi\n");
    EXPECT_EQ(playlist.recents().count(), 2);

    test::writeFile(dir + "/blocker", "a file where a folder should be");
    prompter.saveAnswers = {dir + "/blocker/x.m3u"};
    playlist.SaveList();
    EXPECT_EQ(prompter.messages.back().title, "Orvalis - 목록 파일 저장 오류");
    EXPECT_EQ(playlist.recents().count(), 2);

    // Saving changes nothing about what plays.
    playlist.PlayItem(1);
    playlist.fileOpened();
    prompter.saveAnswers = {dir + "/current.m3u"};
    playlist.SaveList();
    EXPECT_EQ(marked(), 1);
    EXPECT_TRUE(playlist.PlayEntry(-1, true).stops());

    // A new file gets the usual mode, an old one keeps its own, and a link stays a link.
    const mode_t umask = ::umask(022);
    struct stat st {};
    ASSERT_EQ(::chmod((dir + "/list.txt").c_str(), 0640), 0);
    ASSERT_EQ(::symlink((dir + "/list.txt").c_str(), (dir + "/link.m3u").c_str()), 0);
    prompter.saveAnswers = {dir + "/fresh.m3u", dir + "/link.m3u"};
    prompter.answers = {MessageResult::Yes};
    playlist.SaveList();
    playlist.SaveList();
    ::umask(umask);
    ASSERT_EQ(::stat((dir + "/fresh.m3u").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
    ASSERT_EQ(::lstat((dir + "/link.m3u").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(::stat((dir + "/list.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(test::readFile(dir + "/list.txt"), test::readFile(dir + "/fresh.m3u"));
}

TEST_F(PlaylistTest, ChecksSelectWhatIsWrongAndDeleteItOnYes) {
    fs.files = {"/v/a.avi", "/v/b.avi"};
    for (const char* p : {"/v/a.avi", "/v/gone.avi", "http://radio/s.mp3", "/v/b.avi"})
        playlist.model().append({"", p});
    prompter.answers = {MessageResult::No};
    EXPECT_EQ(playlist.CheckPaths(), std::nullopt);
    EXPECT_EQ(prompter.messages[0].text,
              "2개의 잘못된 경로 파일이 선택되었습니다.\n잘못된 파일들을 지울까요?");
    EXPECT_EQ(playlist.model().selectedCount(), 2);
    EXPECT_EQ(playlist.model().count(), 4);
    playlist.CheckPaths();
    EXPECT_EQ(paths(), (std::vector<std::string>{"/v/a.avi", "/v/b.avi"}));
    EXPECT_EQ(playlist.CheckPaths(), "모든 목록의 파일 경로가 유효합니다.");

    EXPECT_EQ(playlist.CheckDuplicates(), "중복된 파일이 없습니다.");
    playlist.model().append({"a.avi", "/v/a.avi"});
    playlist.model().append({"A.avi", "/v/A.avi"});  // another letter case is another path
    prompter.answers = {MessageResult::No};
    playlist.CheckDuplicates();
    EXPECT_EQ(prompter.messages.back().text,
              "1개의 중복된 파일이 선택되었습니다.\n중복된 파일들을 지울까요?");
    EXPECT_EQ(playlist.model().FirstSelected(), 2);
    playlist.CheckDuplicates();
    EXPECT_EQ(paths(), (std::vector<std::string>{"/v/a.avi", "/v/b.avi", "/v/A.avi"}));

    playlist.ShowCount();
    EXPECT_EQ(prompter.messages.back().text, "전체 목록수는 3개 입니다.");

    prompter.answers = {MessageResult::No};
    playlist.ClearAll();
    EXPECT_EQ(prompter.messages.back().text, "전체 목록을 삭제할까요?");
    EXPECT_EQ(playlist.model().count(), 3);
    playlist.ClearAll();
    EXPECT_TRUE(playlist.model().empty());
}
