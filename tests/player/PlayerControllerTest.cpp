#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

#include "base/SettingsKeys.h"
#include "support/ControllerRig.h"

using namespace orvalis;
using orvalis::geometry::Rect;
using orvalis::geometry::ScreenMode;

namespace {

class ControllerTest : public ::testing::Test, protected test::ControllerRig {
protected:
    ControllerTest() : ControllerRig({"/m/a.avi", "/m/b.avi"}) {}
};

}  // namespace

// The command line opens as soon as the picture can be drawn, and only once.
TEST_F(ControllerTest, AFirstStartIsACentredIdleWindowThatPlaysItsCommandLine) {
    controller.initialise();
    EXPECT_TRUE(playlist.log.empty());
    controller.rendererReady();
    controller.rendererReady();  // a lost context came back
    EXPECT_EQ(view.rect, (Rect{777, 404, 1143, 676}));
    EXPECT_TRUE(view.shown);
    EXPECT_TRUE(timers.isActive(TimerId::BarAutoHide));
    EXPECT_FALSE(timers.isActive(TimerId::DeferredInit));
    EXPECT_EQ(playlist.log, (std::vector<std::string>{"addPaths /m/a.avi|/m/b.avi"}));
    EXPECT_EQ(transport.trackColour, 9859955);  // Repeat off: the first track colour
}

TEST_F(ControllerTest, StartNormalisesImpossibleSettings) {
    store.putInt(sections::Caption, "FontBorder", 1);
    store.putInt(sections::Caption, "FontAlias", 1);
    store.putInt(sections::Caption, "FontSize", 100);
    store.putInt(sections::Caption, "Caption Bottom", 70);
    store.putInt(sections::Config, "ShowMainDlg", 0);
    store.putInt(sections::Config, "ShowPlayList", 0);
    store.putInt(sections::Config, "Volume", 40);
    store.putInt(sections::Config, "Repeat", 1);
    start();
    const CaptionStyle& c = controller.captionStyle();
    EXPECT_FALSE(c.fontAlias);
    EXPECT_EQ(c.fontOffset, 0);
    EXPECT_EQ(c.captionBottom, 10);
    EXPECT_TRUE(controller.windowSettings().showMainDlg);
    EXPECT_TRUE(playlist.shown);
    EXPECT_EQ(controller.volume().step(), 19);
    EXPECT_TRUE(controller.windowSettings().repeat);
    EXPECT_EQ(transport.trackColour, 16744576);
}

TEST_F(ControllerTest, StartOfPlaybackSizesTheWindowToThePicture) {
    start();
    play("/m/a.avi");
    EXPECT_EQ(view.rect.width(), 640);
    EXPECT_EQ(view.rect.height(), 360);
    EXPECT_TRUE(view.layout.showsVideo);
    EXPECT_DOUBLE_EQ(transport.duration, 20.0);
    EXPECT_EQ(transport.title, "a.avi");
    EXPECT_FALSE(controller.state().range.set);
    EXPECT_TRUE(controller.engine().flags().playing);
    EXPECT_FALSE(controller.engine().flags().opening);
    EXPECT_TRUE(timers.isActive(TimerId::PlaybackTick));
    EXPECT_FALSE(backend.paused);

    // A 1080p picture on a 1280 x 800 screen: the window fits the screen, in proportion.
    view.screen = {0, 0, 1280, 800};
    play("/m/big.mkv", {20.0, true, 1920, 1080, {}});
    EXPECT_EQ(view.rect, (Rect{0, 80, 1280, 800}));
}

TEST_F(ControllerTest, SkipStartAndSkipEnd) {
    store.putInt(sections::ConfigControl, "Use Skip", 1);
    store.putInt(sections::ConfigControl, "Skip Start Sec", 5);
    start();
    play("/m/a.avi");
    EXPECT_TRUE(sought(5.0));
    // No end skip (0:00): the medium plays to its end.
    tickAt(19.0);
    EXPECT_TRUE(playlist.log.size() == 1);
    store.putInt(sections::ConfigControl, "Skip End Sec", 3);
    tickAt(17.0);
    EXPECT_EQ(playlist.log.back(), "playEntry -1");
}

// At the end the medium repeats, goes back to A just past B, or plays on or stops.
TEST_F(ControllerTest, RepeatTheRepeatRangeAndTheEndOfTheMedium) {
    start();
    play("/m/a.avi");
    controller.toggleRepeat();
    tickAt(20.0);
    EXPECT_TRUE(sought(0.0));
    controller.toggleRepeat();

    controller.state().range = {true, 4.0, true, 8.0};
    backend.calls.clear();
    tickAt(8.5);  // just past B: back to A
    EXPECT_TRUE(sought(4.0));
    backend.calls.clear();
    tickAt(10.5);  // 2 s or more past B (a seek took us there): plays on
    EXPECT_FALSE(sought(4.0));
    EXPECT_DOUBLE_EQ(transport.position, 10.5);

    controller.state().range = {};
    tickAt(20.0);
    EXPECT_EQ(playlist.log.back(), "playEntry -1");
    store.putInt(sections::ConfigPlaylist, "Play Continue", 0);
    play("/m/a.avi");
    backend.calls.clear();
    tickAt(20.0);
    EXPECT_TRUE(sought(0.0));
    EXPECT_FALSE(controller.engine().flags().playing);
    EXPECT_FALSE(timers.isActive(TimerId::PlaybackTick));
}

namespace {
struct Bookmarks final : BookmarkPort {
    void load(const std::string& path, double duration) override {
        loads.push_back(path + " " + std::to_string(static_cast<int>(duration)));
    }
    void save() override { ++saves; }
    void toggle(double) override {}
    void clearAll() override {}
    std::optional<double> previous(double) override { return std::nullopt; }
    std::optional<double> next(double) override { return std::nullopt; }
    std::vector<std::string> loads;
    int saves = 0;
};
}  // namespace

TEST_F(ControllerTest, ALengthUnknownAtTheStartIsFollowedOnceKnown) {
    Bookmarks bookmarks;
    controller.attachBookmarks(&bookmarks);
    start();
    controller.toggleRepeat();
    play("/m/growing.ts", {0, true, 640, 360, {}});
    backend.dur = -1;
    EXPECT_EQ(bookmarks.loads, (std::vector<std::string>{"/m/growing.ts 0"}));  // none yet
    tickAt(0.0);
    tickAt(1.0);
    EXPECT_EQ(seeks(), 0);
    EXPECT_DOUBLE_EQ(transport.position, 1.0);

    backend.dur = 30;
    tickAt(1.5);
    EXPECT_EQ(seeks(), 0);
    EXPECT_DOUBLE_EQ(transport.duration, 30.0);
    EXPECT_EQ(bookmarks.loads.back(), "/m/growing.ts 30");
    // A length that grows is followed; the end repeats the item where it now lies.
    backend.dur = 40;
    tickAt(30.5);
    EXPECT_EQ(seeks(), 0);
    EXPECT_DOUBLE_EQ(transport.duration, 40.0);
    tickAt(40.0);
    EXPECT_TRUE(sought(0.0));
    EXPECT_EQ(bookmarks.loads.size(), 2u);
}

TEST_F(ControllerTest, ALengthThatGrowsOrShrinksNeverMakesARepeatRange) {
    start();
    play("/m/vbr.mp3", {20.0, false, 0, 0, {}});
    backend.dur = 22.5;
    tickAt(20.5);  // beyond the length told at the start, within the real one
    tickAt(21.0);
    EXPECT_EQ(seeks(), 0);
    EXPECT_EQ(playlist.log.size(), 1u);
    backend.dur = 18.0;
    tickAt(18.0);
    EXPECT_EQ(playlist.log.back(), "playEntry -1");
    EXPECT_EQ(seeks(), 0);
}

TEST_F(ControllerTest, ALocalFileOfLengthZeroPlaysUntilTheBackendEndsIt) {
    Bookmarks bookmarks;
    controller.attachBookmarks(&bookmarks);
    store.putInt(sections::ConfigControl, "Use Skip", 1);
    store.putInt(sections::ConfigControl, "Skip End Sec", 3);
    start();
    controller.toggleRepeat();
    play("/m/zero.avi", {0, true, 640, 360, {}});
    backend.dur = 0;
    for (double p : {0.0, 0.0, 2.0, 5.0}) tickAt(p);
    EXPECT_EQ(seeks(), 0);
    EXPECT_EQ(playlist.log.size(), 1u);
    backend.eof = true;  // repeat still works at the end the backend reports
    tickAt(7.0);
    EXPECT_TRUE(sought(0.0));
    EXPECT_FALSE(backend.paused);
    controller.closeFile();
    EXPECT_EQ(bookmarks.saves, 0);  // never loaded: the stored ones are kept
}

TEST_F(ControllerTest, AStreamThatCannotSeekPlaysToItsEndWithoutSeeking) {
    store.putInt(sections::ConfigControl, "Use Skip", 1);
    store.putInt(sections::ConfigControl, "Skip Start Sec", 5);
    store.putInt(sections::ConfigControl, "Skip End Sec", 5);
    backend.canSeek = false;
    start();
    controller.toggleRepeat();
    play("http://radio.example/live", {0, false, 0, 0, {}});
    EXPECT_TRUE(timers.isActive(TimerId::PlaybackTick));
    backend.dur = -1;
    tickAt(3.0);
    controller.runCommand(CommandId::RepeatSetEnd);
    controller.runCommand(CommandId::JumpForward);
    tickAt(4.0);
    tickAt(6.0);
    EXPECT_EQ(seeks(), 0);
    EXPECT_DOUBLE_EQ(transport.position, 6.0);
    // It stops sending: libmpv ends the medium and forgets the position.
    backend.eof = true;
    backend.pos = -1;
    controller.onTimer(TimerId::PlaybackTick);
    EXPECT_EQ(playlist.log.back(), "playEntry -1");
    EXPECT_EQ(seeks(), 0);
}

TEST_F(ControllerTest, ARepeatSeekThatDoesNotLandIsAskedForOnce) {
    start();
    controller.toggleRepeat();
    play("/m/a.avi");
    backend.stuck = true;
    for (int i = 0; i < 30; ++i) tickAt(20.0);
    EXPECT_EQ(seeks(), 1);
    EXPECT_EQ(playlist.log.back(), "playEntry -1");  // and the medium ends as without repeat
}

TEST_F(ControllerTest, RepeatAndARangeEndingAtTheEndResumeThePausedEnd) {
    start();
    play("/m/a.avi");
    controller.toggleRepeat();
    backend.eof = true;
    backend.paused = true;  // libmpv holds the last frame, paused
    controller.onTimer(TimerId::PlaybackTick);
    EXPECT_TRUE(sought(0.0));
    EXPECT_FALSE(backend.paused);
    controller.toggleRepeat();

    tickAt(4.0);
    controller.runCommand(CommandId::RepeatSetStart);
    EXPECT_TRUE(controller.state().range.set);
    EXPECT_FALSE(controller.state().range.endSet);
    backend.dur = 24.0;  // it grew: the range still ends at the end
    tickAt(21.0);
    EXPECT_FALSE(sought(4.0));
    backend.eof = true;
    backend.paused = true;
    tickAt(24.0);
    EXPECT_TRUE(sought(4.0));
    EXPECT_FALSE(backend.paused);
    EXPECT_EQ(playlist.log.size(), 1u);  // never the end of the medium
}

TEST_F(ControllerTest, APausedMediumStopsTheTickUntilItIsSoughtOrResumed) {
    start();
    play("/m/a.avi");
    tickAt(5.0);
    controller.engine().pause();
    for (int i = 0; i < 10 && timers.isActive(TimerId::PlaybackTick); ++i) tickAt(5.0);
    EXPECT_FALSE(timers.isActive(TimerId::PlaybackTick));
    // A seek while paused is followed: the bar and captions see where it landed.
    controller.runCommand(CommandId::JumpForward);
    ASSERT_TRUE(timers.isActive(TimerId::PlaybackTick));
    tickAt(15.0);
    EXPECT_DOUBLE_EQ(transport.position, 15.0);
    for (int i = 0; i < 10; ++i) tickAt(15.0);
    controller.engine().pause();  // resumes
    EXPECT_TRUE(timers.isActive(TimerId::PlaybackTick));
    // Stop kills the tick for good: its seek back to the start does not wake it.
    controller.engine().stop();
    EXPECT_FALSE(timers.isActive(TimerId::PlaybackTick));
}

// Exit writes the window's settings, the screen mode first, and closes the medium.
TEST_F(ControllerTest, ExitWritesTheWindowsSettings) {
    start();
    play("/m/a.avi");
    store.writes.clear();
    const Rect before = view.rect;
    bool ended = false;
    controller.onExited = [&] { ended = true; };
    controller.exit();
    EXPECT_TRUE(ended);
    ASSERT_GE(store.writes.size(), 26u);
    EXPECT_EQ(store.writes.front(), "Config/Maximized=0");
    for (auto [section, key] : {std::pair{"Screen", "right"},
                                {"Config", "Volume"},
                                {"Caption", "FontSize"},
                                {"Config", "Brignt"}})
        EXPECT_TRUE(store.has(section, key)) << key;
    EXPECT_EQ(store.getInt(sections::Screen, "right", 0), before.right);
    EXPECT_FALSE(controller.engine().flags().loaded);
}

TEST_F(ControllerTest, FullScreenKeepsTheNormalRectangle) {
    start();
    const Rect normal = view.rect;
    controller.toggleFullScreen();
    EXPECT_TRUE(view.fullScreen);
    EXPECT_EQ(controller.state().mode, ScreenMode::FullScreen);
    // Written at once, so a killed player still has it.
    EXPECT_EQ(store.getInt(sections::Screen, "left", 0), normal.left);
    EXPECT_EQ(store.getInt(sections::Screen, "bottom", 0), normal.bottom);
    EXPECT_FALSE(playlist.shown);
    // The pointer hides two seconds after it stops, and comes back when it moves.
    controller.onTimer(TimerId::PointerHide);
    EXPECT_NE(view.pointer, PointerShape::Blank);
    controller.onTimer(TimerId::PointerHide);
    EXPECT_EQ(view.pointer, PointerShape::Blank);
    EXPECT_FALSE(timers.isActive(TimerId::PointerHide));
    view.cursor = {5, 5};
    controller.pointerMoved({5, 5});
    EXPECT_EQ(view.pointer, PointerShape::Arrow);
    EXPECT_TRUE(timers.isActive(TimerId::PointerHide));
    controller.toggleFullScreen();
    EXPECT_FALSE(view.fullScreen);
    EXPECT_EQ(view.rect, normal);
    EXPECT_TRUE(playlist.shown);

    // Ctrl+Enter from the normal window goes straight to maximized; Enter comes back.
    controller.toggleMaximized();
    EXPECT_EQ(controller.state().mode, ScreenMode::Maximized);
    EXPECT_TRUE(view.fullScreen);
    controller.toggleFullScreen();
    EXPECT_EQ(controller.state().mode, ScreenMode::Normal);
    EXPECT_FALSE(view.fullScreen);

    // Exit in full screen remembers it and leaves the normal rectangle.
    controller.toggleFullScreen();
    controller.exit();
    EXPECT_EQ(store.getInt(sections::Config, "Maximized", 0), 1);
    EXPECT_EQ(store.getInt(sections::Screen, "right", 0), normal.right);
}

TEST_F(ControllerTest, TheBarShowsOnlyInTheBottomBand) {
    start();
    const Rect w = view.rect;
    controller.pointerMoved({100, w.height() / 2});
    EXPECT_FALSE(transport.shown);
    controller.pointerMoved({100, w.height() - 20});
    EXPECT_TRUE(transport.shown);
    EXPECT_EQ(transport.placed, (Rect{w.left + 2, w.bottom - 2 - 64, w.right - 2, w.bottom - 2}));
    controller.pointerMoved({100, 10});
    EXPECT_FALSE(transport.shown);
    // Timer 103 hides it once the pointer has left the window.
    controller.pointerMoved({100, w.height() - 20});
    view.cursor = {w.right + 50, w.top};
    controller.onTimer(TimerId::BarAutoHide);
    EXPECT_FALSE(transport.shown);
    EXPECT_FALSE(timers.isActive(TimerId::BarAutoHide));
}

TEST_F(ControllerTest, ZoomAspectAndPanAndScan) {
    start();
    play("/m/a.avi");
    controller.zoom(2.0, 5);
    EXPECT_EQ(view.rect.width(), 1280);
    EXPECT_EQ(view.rect.height(), 720);
    EXPECT_LE(view.rect.right, 1920);
    view.shift = true;
    controller.zoom(0.5, 2);  // ignored while Shift is held
    EXPECT_EQ(view.rect.width(), 1280);
    view.shift = false;
    controller.setAspect(geometry::AspectChoice::FourThree);
    EXPECT_EQ(view.rect.height(), 1280 * 360 / 479);
    controller.panScanMore();  // only in full screen
    EXPECT_EQ(controller.state().panScan, 0);
    controller.toggleFullScreen();
    controller.panScanMore();
    controller.panScanMore();
    EXPECT_EQ(controller.state().panScan, 4);
    EXPECT_EQ(view.layout.video.left, -1920 * 4 / 100);
    controller.panScanNone();
    EXPECT_EQ(controller.state().panScan, 0);
}

TEST_F(ControllerTest, HidingTheMainWindowRemembersItsPlace) {
    store.putInt(sections::Config, "AutoHideOnAudio", 1);
    start();
    const Rect normal = view.rect;
    controller.hideMainWindow();
    EXPECT_FALSE(view.shown);
    EXPECT_EQ(store.getInt(sections::Config, "ShowMainDlg", 1), 0);
    EXPECT_EQ(store.getInt(sections::Screen, "top", 0), normal.top);
    controller.showMainWindow();
    EXPECT_TRUE(view.shown);
    EXPECT_EQ(view.rect, normal);
    EXPECT_EQ(store.getInt(sections::Config, "ShowMainDlg", 0), 1);
    // Sound-only media hide it when asked.
    play("/m/song.mp3", {180, false, 0, 0, {}});
    EXPECT_FALSE(view.shown);
    play("/m/a.avi");
    EXPECT_TRUE(view.shown);
}

TEST_F(ControllerTest, DroppedFiles) {
    start();
    controller.dropFiles({"/m/captions.smi"});  // nothing loaded: ignored
    EXPECT_TRUE(playlist.log.size() == 1);
    view.imageSize = geometry::Size{400, 300};
    controller.dropFiles({"/pics/Back.JPG"});
    EXPECT_EQ(view.backMode, 0);
    EXPECT_EQ(view.backImage, "/pics/Back.JPG");
    EXPECT_EQ(view.rect.height(), static_cast<int>(view.rect.width() / (400.0 / 300.0)));
    controller.dropFiles({"/m/x.avi", "/m/y.avi"});
    EXPECT_EQ(playlist.log.back(), "drop 2");
    // SubRip and WebVTT files are caption files too, in any letter case: never list entries.
    play("/m/a.avi");
    const std::size_t entries = playlist.log.size();
    controller.dropFiles({"/m/film.SRT"});
    controller.dropFiles({"/m/film.vtt"});
    EXPECT_EQ(playlist.log.size(), entries);
}

namespace {
struct Sheet final : SettingsSheetPort {
    bool run() override {
        ++runs;
        return answer;
    }
    bool answer = false;
    int runs = 0;
};
}  // namespace

TEST_F(ControllerTest, SettingsAreRereadOnlyAfterOk) {
    Sheet sheet;
    controller.attachSettingsSheet(&sheet);
    start();
    play("/m/a.avi");
    store.putInt(sections::Config, "Interval", 25);
    controller.captionStyle().fontOffset = -5;  // changed live, not yet written
    controller.openSettings();
    EXPECT_EQ(sheet.runs, 1);
    EXPECT_EQ(store.getInt(sections::Caption, "FontOffset", 0), -5);  // the pages show it
    EXPECT_EQ(controller.windowSettings().interval, 10);
    EXPECT_TRUE(controller.engine().flags().playing);  // resumed after Cancel

    sheet.answer = true;
    store.putInt(sections::ConfigPlaylist, "Show Controls", 1);
    store.putInt(sections::ConfigControl, "Use Bookmark", 0);
    controller.openSettings();
    EXPECT_EQ(controller.windowSettings().interval, 25);
    EXPECT_TRUE(controller.windowSettings().autoHideOnAudio);  // its default after settings is 1
    EXPECT_EQ(controller.captionStyle().fontColor, 16777215);
    EXPECT_TRUE(playlist.controls);
    EXPECT_TRUE(transport.marksCleared);
    EXPECT_TRUE(controller.engine().flags().playing);
}

TEST_F(ControllerTest, CloseFileReturnsToTheIdlePicture) {
    start();
    play("/m/a.avi");
    controller.toggleFullScreen();
    controller.closeFile();
    EXPECT_FALSE(controller.engine().flags().loaded);
    EXPECT_FALSE(view.fullScreen);
    EXPECT_EQ(view.rect.width(), 366);
    EXPECT_EQ(view.rect.height(), 272);
    EXPECT_EQ(transport.state, "disabled");
    EXPECT_FALSE(desktop.inhibited);
    EXPECT_FALSE(view.layout.showsVideo);
}

namespace {

struct LastMessage final : OsdPort {
    void show(const std::string& t, int) override { text = t; }
    void showAt(const std::string& t, geometry::Point, int) override { text = t; }
    void hide() override { text.clear(); }
    std::string text;
};

// Numbers written with a decimal comma, as many users' settings have them: a locale built
// for the test (false when the system cannot build one).
bool useDecimalComma() {
    const std::string dir = test::freshDir("comma-locale");
    test::writeFile(dir + "/comma.src",
                    "LC_NUMERIC\ndecimal_point \"<U002C>\"\nthousands_sep \"\"\n"
                    "grouping -1\nEND LC_NUMERIC\n");
    const std::string build = "localedef -c -i '" + dir + "/comma.src' -f UTF-8 '" + dir +
                              "/xx_XX.UTF-8' >/dev/null 2>&1";
    [[maybe_unused]] int rc = std::system(build.c_str());
    ::setenv("LOCPATH", dir.c_str(), 1);
    return std::setlocale(LC_NUMERIC, "xx_XX.UTF-8") != nullptr;
}

}  // namespace

// The speed and pan & scan messages come out the same whatever the user's number format.
TEST_F(ControllerTest, SpeedAndPanScanMessagesIgnoreTheNumberFormat) {
    LastMessage osd;
    controller.attachOsd(&osd);
    start();
    play("/m/a.avi");
    const bool comma = useDecimalComma();
    controller.runCommand(CommandId::RateHalf);
    const std::string half = osd.text;
    controller.runCommand(CommandId::RateHalf);
    const std::string quarter = osd.text;
    controller.toggleFullScreen();
    controller.panScanMore();
    const std::string panScan = osd.text;
    std::setlocale(LC_NUMERIC, "C");
    ::unsetenv("LOCPATH");
    if (!comma) GTEST_SKIP() << "no locale with a decimal comma could be built";
    EXPECT_EQ(half, "재생 속도 : 0.5X");
    EXPECT_EQ(quarter, "재생 속도 : 0.25X");
    EXPECT_EQ(panScan, "Pan & Scan: 2 %");
    store.putInt(sections::Config, "Show Tooltip Speed", 0);
    osd.text.clear();
    controller.runCommand(CommandId::RateNormal);
    EXPECT_EQ(osd.text, "");
}
