// Bookmarks and frame capture wired into the player window's logic as the window wires them:
// the commands run through the controller on a fake backend, the bookmark file and the
// captured bitmaps are real files in the private home.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "base/AtomicFile.h"
#include "base/SettingsKeys.h"
#include "extras/BookmarkService.h"
#include "extras/CaptureService.h"
#include "extras/FileSizeLimit.h"
#include "support/ControllerRig.h"

namespace orvalis {
namespace {

using C = CommandId;
using Lines = std::vector<std::string>;

struct FakeOsd final : OsdPort {
    void show(const std::string& text, int ms) override {
        lines.push_back(text + " " + std::to_string(ms));
    }
    void showAt(const std::string&, geometry::Point, int) override {}
    void hide() override {}
    Lines lines;
};

// The settings sheet, closed with OK after the change the test makes.
struct FakeSheet final : SettingsSheetPort {
    bool run() override {
        if (change) change();
        return true;
    }
    std::function<void()> change;
};

// A frame of 3 x 2 pixels, all of one colour (bgr0).
RawFrame smallFrame() {
    RawFrame f;
    f.width = 3;
    f.height = 2;
    f.stride = 12;
    f.pixels = std::string(24, '\x40');
    return f;
}

class LinkTest : public ::testing::Test, protected test::ControllerRig {
protected:
    void SetUp() override {
        controller.attachOsd(&osd);
        controller.attachBookmarks(&bookmarks);
        controller.attachCapture(capture.get());
        controller.attachSettingsSheet(&sheet);
        bookmarks.setTransport(&transport);
        start();
    }
    void play(const std::string& path, double length = 100.0, bool video = true) {
        ControllerRig::play(path, {length, video, video ? 640 : 0, video ? 360 : 0, {}});
    }
    void at(double seconds) { backend.pos = seconds; }
    void run(C id) { controller.runCommand(id); }
    std::string file() const { return test::readFile(bookmarkFile); }

    std::string dir = test::freshDir("links");
    std::string bookmarkFile = dir + "/Bookmark.ini";
    FakeOsd osd;
    FakeSheet sheet;
    BookmarkService bookmarks{store, bookmarkFile, osd};

    // The frame requests not answered yet.
    std::vector<CaptureService::FrameAnswer> pending;
    std::unique_ptr<CaptureService> capture = std::make_unique<CaptureService>(
        CaptureService::Player{
            controller.engine(),
            [this](bool busy) { view.setPointer(busy ? PointerShape::Wait : PointerShape::Arrow); },
            [this](CaptureService::FrameAnswer answer) { pending.push_back(std::move(answer)); }},
        osd, nullptr, store, dir + "/Pictures");
    void answer(std::optional<RawFrame> frame = smallFrame()) {
        ASSERT_EQ(pending.size(), 1u);
        auto a = std::move(pending.front());
        pending.clear();
        a(std::move(frame));
    }
};

}  // namespace

// The keys on the real player are PlayerWindowTest.cpp's; here the marks on the track and
// what reaches the bar.
TEST_F(LinkTest, BookmarkCommandsMarkTheTrackAndSeekTheMediumAndTheBar) {
    play("/m/film.avi");
    at(65.7);
    run(C::BookmarkToggle);
    EXPECT_EQ(osd.lines, Lines{"00:01:05 위치 북마크 추가 0"});
    EXPECT_EQ(transport.marks, std::vector<int>{65});
    at(65.2);  // the same whole second: removed, without a message
    run(C::BookmarkToggle);
    EXPECT_EQ(osd.lines.size(), 1u);
    EXPECT_TRUE(transport.marks.empty());
    for (double s : {30.0, 10.0}) {
        at(s);
        run(C::BookmarkToggle);
    }
    EXPECT_EQ(transport.marks, (std::vector<int>{10, 30}));
    at(20.0);
    run(C::BookmarkPrevious);
    EXPECT_EQ(backend.pos, 10.0);
    EXPECT_EQ(transport.position, 10.0);
    at(30.0);
    backend.calls.clear();
    run(C::BookmarkNext);  // after the last: nowhere
    EXPECT_TRUE(backend.calls.empty());

    run(C::BookmarkClearAll);
    EXPECT_EQ(osd.lines.back(), "북마크가 해제되었습니다. 4000");
    EXPECT_TRUE(transport.marks.empty());
    run(C::BookmarkClearAll);  // nothing left: no message
    EXPECT_EQ(osd.lines.size(), 4u);
}

TEST_F(LinkTest, BookmarksAreKeptPerMediumAcrossClosesAndReopens) {
    play("/m/a.avi");
    for (double s : {20.0, 10.0}) {
        at(s);
        run(C::BookmarkToggle);
    }
    play("/m/b.avi");  // a.avi's list is written before b.avi replaces it
    EXPECT_EQ(file(), "[/m/a.avi]\nbm0=00:00:10\nbm1=00:00:20\n");
    EXPECT_TRUE(transport.marks.empty());
    at(5);
    run(C::BookmarkToggle);
    controller.closeFile();
    EXPECT_EQ(file(), "[/m/b.avi]\nbm0=00:00:05\n[/m/a.avi]\nbm0=00:00:10\nbm1=00:00:20\n");

    play("/m/a.avi");
    EXPECT_EQ(transport.marks, (std::vector<int>{10, 20}));
    at(30);
    run(C::BookmarkToggle);

    // A stream keeps none; its commands do nothing.
    play("http://host/live.ts", 0);
    EXPECT_TRUE(transport.marks.empty());
    osd.lines.clear();
    run(C::BookmarkToggle);
    EXPECT_TRUE(osd.lines.empty());
    controller.exit();  // the medium saved last stands first
    EXPECT_EQ(file(),
              "[/m/a.avi]\nbm0=00:00:10\nbm1=00:00:20\nbm2=00:00:30\n[/m/b.avi]\nbm0=00:00:05\n");
}

// Off, the commands do nothing and the file is not touched; turned on in the settings, the
// medium's bookmarks show at once.
TEST_F(LinkTest, BookmarksOffAndOnAgainInTheSettings) {
    test::writeFile(bookmarkFile, "[/m/a.avi]\nbm0=00:00:07\n");
    store.putInt(sections::ConfigControl, "Use Bookmark", 0);
    play("/m/a.avi");
    EXPECT_TRUE(transport.marks.empty());
    at(12);
    run(C::BookmarkToggle);
    run(C::BookmarkClearAll);
    EXPECT_TRUE(osd.lines.empty());
    EXPECT_TRUE(transport.marks.empty());

    sheet.change = [&] { store.putInt(sections::ConfigControl, "Use Bookmark", 1); };
    controller.openSettings();
    EXPECT_EQ(transport.marks, std::vector<int>{7});
    sheet.change = [&] { store.putInt(sections::ConfigControl, "Use Bookmark", 0); };
    controller.openSettings();
    EXPECT_TRUE(transport.marks.empty());
    controller.closeFile();
    EXPECT_EQ(file(), "[/m/a.avi]\nbm0=00:00:07\n");

    // A closed medium's marks do not come back with the next OK.
    sheet.change = [&] { store.putInt(sections::ConfigControl, "Use Bookmark", 1); };
    controller.openSettings();
    play("/m/a.avi");
    ASSERT_EQ(transport.marks, std::vector<int>{7});
    controller.closeFile();
    controller.openSettings();
    EXPECT_TRUE(transport.marks.empty());
    run(C::BookmarkToggle);
    EXPECT_EQ(file(), "[/m/a.avi]\nbm0=00:00:07\n");
}

// A full disk at Close File: the old file stays whole and the list stays in memory; the next
// medium's start writes it once the disk has room again.
TEST_F(LinkTest, AFailedSaveKeepsTheOldFileAndTriesAgain) {
    const std::string old = "[/m/other.avi]\nbm0=00:00:07\n";
    test::writeFile(bookmarkFile, old);
    play("/m/a.avi");
    at(42);
    run(C::BookmarkToggle);
    {
        test::FileSizeLimit full(8);
        controller.closeFile();
    }
    EXPECT_EQ(file(), old);
    EXPECT_EQ(osd.lines.back(), std::string(kBookmarkSaveFailed) + " 4000");
    EXPECT_TRUE(bookmarks.unsaved());
    EXPECT_EQ(bookmarks.store().positions(), std::vector<int>{42});

    play("/m/b.avi");
    EXPECT_FALSE(bookmarks.unsaved());
    EXPECT_EQ(file(), "[/m/a.avi]\nbm0=00:00:42\n" + old);
}

// What the user does while the frame is on its way is not undone when it arrives.
TEST_F(LinkTest, CaptureResumesOnlyTheMediumItPaused) {
    play("/m/a.avi");
    run(C::SaveFrame);
    run(C::PlayPause);  // resumed by hand
    answer();
    EXPECT_TRUE(controller.engine().flags().playing);

    run(C::SaveFrame);
    play("/m/b.avi");  // another medium started, and paused, meanwhile
    run(C::PlayPause);
    backend.calls.clear();
    answer();
    EXPECT_TRUE(controller.engine().flags().paused);
    EXPECT_TRUE(backend.calls.empty());

    run(C::SaveFrame);
    controller.closeFile();
    answer(std::nullopt);  // closed: no picture either
    EXPECT_FALSE(controller.engine().flags().loaded);
    EXPECT_EQ(osd.lines.back(), "화면저장에 실패했습니다. 0");
    EXPECT_EQ(view.pointer, PointerShape::Arrow);
}

TEST_F(LinkTest, CaptureNeedsAPictureAndOutlivesNothing) {
    run(C::SaveFrame);  // nothing loaded
    play("/m/song.mp3", 100, false);
    run(C::SaveFrame);  // sound only
    EXPECT_TRUE(pending.empty());
    EXPECT_TRUE(osd.lines.empty());
    EXPECT_TRUE(controller.engine().flags().playing);

    // The window goes while the frame is on its way: the late answer finds nobody.
    play("/m/a.avi");
    run(C::SaveFrame);
    ASSERT_EQ(pending.size(), 1u);
    controller.attachCapture(nullptr);
    capture.reset();
    pending.front()(smallFrame());
    EXPECT_FALSE(fileExists(dir + "/Pictures/a_000.bmp"));
}

}  // namespace orvalis
