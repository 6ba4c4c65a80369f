// What the play list keeps across runs, its recent list files and its context menu.
#include <gtest/gtest.h>

#include "base/IniSettingsStore.h"
#include "base/SettingsKeys.h"
#include "playlist/FakeFileSystem.h"
#include "playlist/Playlist.h"
#include "playlist/PlaylistGeometry.h"
#include "playlist/PlaylistMenu.h"
#include "support/TestSupport.h"

using namespace orvalis;

namespace {

const char* kLists = sections::PlaylistLists;
const char* kRecents = sections::PlaylistRecents;

// Counts the puts that reach the store outside a batch.
class BatchWatch final : public SettingsStore {
public:
    explicit BatchWatch(SettingsStore& inner) : inner_(inner) {}
    int getInt(std::string_view s, std::string_view k, int d) const override {
        return inner_.getInt(s, k, d);
    }
    std::string getString(std::string_view s, std::string_view k,
                          std::string_view d) const override {
        return inner_.getString(s, k, d);
    }
    void putInt(std::string_view s, std::string_view k, int v) override {
        note(), inner_.putInt(s, k, v);
    }
    void putString(std::string_view s, std::string_view k, std::string_view v) override {
        note(), inner_.putString(s, k, v);
    }
    void removeKey(std::string_view s, std::string_view k) override {
        note(), inner_.removeKey(s, k);
    }
    void removeSection(std::string_view s) override { note(), inner_.removeSection(s); }
    std::vector<std::string> keys(std::string_view s) const override { return inner_.keys(s); }
    void beginBatch() override { ++depth_, inner_.beginBatch(); }
    void endBatch() override { --depth_, inner_.endBatch(); }
    int unbatched = 0;

private:
    void note() { unbatched += depth_ == 0 ? 1 : 0; }
    SettingsStore& inner_;
    int depth_ = 0;
};

}  // namespace

TEST(PlaylistPersistence, ListCurrentItemRecentsAndSwitchesSurviveARestart) {
    std::string dir = test::freshDir("persist");
    IniSettingsStore file(dir + "/Orvalis.conf");
    BatchWatch store(file);
    test::FakePrompter prompter;
    test::FakeFileSystem fs;
    const std::vector<std::string> odd{"/v/a=b;c.avi", " /v/lead space.avi", "/음악/노래.mp3",
                                       "http://radio/x.mp3", "/v/\"q\".avi"};
    {
        Playlist first(store, prompter, fs);
        for (const auto& p : odd) first.model().append({"", p});
        for (int i = 0; i < 100; ++i) first.model().append({"", "/filler/" + std::to_string(i)});
        for (int i = 0; i < 12; ++i) first.AddRecentList("/lists/" + std::to_string(i) + ".m3u");
        first.PlayItem(2);
        first.toggleShowControls();
        first.SetTransparency(30, true);
        store.unbatched = 0;
        first.save();
        EXPECT_EQ(store.unbatched, 0);
    }
    Playlist second(store, prompter, fs);
    second.load();
    ASSERT_EQ(second.model().count(), 105);
    EXPECT_EQ(second.model().at(0).path, odd[0]);
    EXPECT_EQ(second.model().at(1).path, "/v/lead space.avi");  // stored entries are trimmed
    EXPECT_EQ(second.model().at(2).displayName, "노래.mp3");
    EXPECT_EQ(second.model().at(4).path, odd[4]);
    EXPECT_EQ(second.model().firstMarked(), 2);
    EXPECT_EQ(second.PlayEntry(-1, false).path, "/음악/노래.mp3");
    EXPECT_EQ(second.recents().count(), 10);
    EXPECT_EQ(*second.recents().newest(1), "/lists/11.m3u");
    EXPECT_EQ(*second.recents().newest(10), "/lists/2.m3u");
    EXPECT_EQ(second.lastListFile(), "/lists/11.m3u");
    EXPECT_TRUE(second.showControls);
    EXPECT_EQ(second.alphaPercent, 30);

    // A shorter list leaves no stale entries behind.
    second.model().clear();
    second.model().append({"a.avi", "/v/a.avi"});
    second.save();
    EXPECT_EQ(file.keys(kLists).size(), 3u);  // nItemCount, Current, 0
}

TEST(PlaylistPersistence, GarbledSettingsLoadAsLittleAsTheyCanMean) {
    test::MemorySettingsStore settings;
    test::FakePrompter prompter;
    test::FakeFileSystem fs;
    settings.putInt(kLists, "nItemCount", 2000000000);
    settings.putString(kLists, "Current", "/nowhere.avi");
    settings.putString(kLists, "0", "   ");
    settings.putString(kLists, "1", "/v/b.avi");
    settings.putInt(kRecents, "nCount", 11);
    settings.putString(kRecents, "0", "/l/a.m3u");
    settings.putInt(sections::Playlist, "Alpha", 70);
    Playlist p(settings, prompter, fs);
    p.load();
    ASSERT_EQ(p.model().count(), 1);
    EXPECT_EQ(p.model().firstMarked(), -1);
    EXPECT_EQ(p.PlayEntry(-1, true).path, "/v/b.avi");  // no marker: row 0
    EXPECT_EQ(p.recents().count(), 0);
    EXPECT_EQ(p.alphaPercent, 0);

    settings.putInt(kRecents, "nCount", 1);
    p.load();
    EXPECT_EQ(p.lastListFile(), "/l/a.m3u");  // the newest entry when none is named
}

TEST(PlaylistRecents, TenNewestFirstInTheMenuWithTheListInUseChecked) {
    test::MemorySettingsStore settings;
    test::FakePrompter prompter;
    test::FakeFileSystem fs;
    Playlist p(settings, prompter, fs);

    std::vector<PlaylistMenuItem> menu = playlistContextMenu(p, true);
    ASSERT_EQ(menu.size(), 9u);
    for (size_t i : {4u, 5u, 6u, 7u}) EXPECT_FALSE(menu[i].enabled) << menu[i].label;
    EXPECT_TRUE(menu[2].submenu[0].checked);  // no transparency

    for (int i = 1; i <= 11; ++i) EXPECT_TRUE(p.AddRecentList("/l/" + std::to_string(i) + ".m3u"));
    EXPECT_FALSE(p.AddRecentList("/l/5.m3u"));
    p.model().append({"a.avi", "/v/a.avi"});
    p.SetTransparency(20, true);
    p.toggleShowControls();
    menu = playlistContextMenu(p, false);
    ASSERT_EQ(menu.size(), 11u);
    const PlaylistMenuItem& recent = menu[0];
    ASSERT_EQ(recent.submenu.size(), 12u);
    EXPECT_EQ(recent.submenu[0].label, "11.m3u (&1)");
    EXPECT_EQ(recent.submenu[0].command, playlist_cmd::FirstRecent);
    EXPECT_EQ(recent.submenu[9].label, "2.m3u (&10)");
    EXPECT_TRUE(recent.submenu[6].checked);  // 5.m3u is in use
    EXPECT_EQ(recent.submenu[11].command, playlist_cmd::ClearRecents);
    EXPECT_TRUE(menu[1].separator);
    EXPECT_TRUE(menu[3].checked);
    EXPECT_TRUE(menu[4].submenu[2].checked);
    EXPECT_EQ(menu[4].submenu[2].command, commandOfTransparency(20));
    EXPECT_TRUE(menu[6].enabled);
    EXPECT_EQ(settings.getInt(sections::Playlist, "Alpha", 0), 20);

    // Opening a recent entry loads it and starts its first row.
    std::string dir = test::freshDir("recent");
    test::writeFile(dir + "/r.m3u", "/v/r1.avi\n/v/r2.avi\n");
    p.AddRecentList(dir + "/r.m3u");
    EXPECT_EQ(recentOfCommand(playlist_cmd::FirstRecent), 1);
    EXPECT_EQ(p.OpenRecent(1).path, "/v/r1.avi");
    EXPECT_FALSE(p.OpenRecent(11).opens());

    prompter.answers = {MessageResult::No};
    p.ClearRecents();
    EXPECT_EQ(prompter.messages.back().text, "목록 파일 기록을 지울까요?");
    EXPECT_EQ(p.recents().count(), 10);
    p.ClearRecents();
    EXPECT_EQ(p.recents().count(), 0);
    EXPECT_EQ(p.lastListFile(), dir + "/r.m3u");
}

TEST(PlaylistGeometry, PlacementStaysOnSomeScreen) {
    test::MemorySettingsStore settings;
    // The player's screen first; a second one to its right, a third to its left.
    const std::vector<PlaylistRect> screens{
        {0, 0, 1920, 1080}, {1920, 0, 4480, 1440}, {-1280, 0, 0, 1024}};
    auto placed = [&](const PlaylistRect& stored) {
        writePlaylistPlacement(settings, stored);
        return readPlaylistPlacement(settings, screens);
    };
    EXPECT_EQ(readPlaylistPlacement(settings, screens), (PlaylistRect{1143, 404, 1309, 676}));
    EXPECT_EQ(readPlaylistPlacement(settings, {{100, 50, 2020, 1130}}),
              (PlaylistRect{1243, 454, 1409, 726}));
    for (PlaylistRect onScreen :
         {PlaylistRect{3000, 1000, 3300, 1400}, PlaylistRect{-1200, 10, -1000, 400},
          PlaylistRect{-100, 5, 166, 300}})
        EXPECT_EQ(placed(onScreen), onScreen);
    // Off every screen: onto the nearest, the same size.
    EXPECT_EQ(placed({5000, 3000, 5200, 3300}), (PlaylistRect{4280, 1140, 4480, 1440}));
    EXPECT_EQ(placed({-3000, 1500, -2800, 1700}), (PlaylistRect{-1280, 824, -1080, 1024}));
    EXPECT_EQ(placed({1000, -900, 1200, -600}), (PlaylistRect{1000, 0, 1200, 300}));
    EXPECT_EQ(placed({10, 10, 20, 20}), (PlaylistRect{10, 10, 176, 180}));
    EXPECT_EQ(readPlaylistPlacement(settings, {}), (PlaylistRect{10, 10, 176, 180}));
    // The rows of buttons under the list are PlaylistWindowTest.cpp's.
}
