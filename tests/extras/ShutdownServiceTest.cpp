// The sleep timer wired into the player window's logic as the window wires it: timer 110
// and the end of the medium reach the scheduler through the shutdown port, and a shutdown
// runs Close File, Exit and the power-off, in that order. The power-off is a fake; the
// schedule's own rules are ShutdownSchedulerTest.cpp's.
#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>

#include "base/SettingsKeys.h"
#include "extras/ShutdownService.h"
#include "support/ControllerRig.h"

namespace orvalis {
namespace {

using Lines = std::vector<std::string>;

// The window's messages, the bookmarks and the system in one log, so that the order shows.
struct Recorder final : OsdPort, BookmarkPort, PowerControl {
    void show(const std::string& text, int) override { log.push_back("osd " + text); }
    void showAt(const std::string& text, geometry::Point, int) override { show(text, 0); }
    void hide() override {}
    void load(const std::string&, double) override {}
    void save() override { log.push_back("bookmarks saved"); }
    void toggle(double) override {}
    void clearAll() override {}
    std::optional<double> previous(double) override { return std::nullopt; }
    std::optional<double> next(double) override { return std::nullopt; }
    void powerOff() override {
        log.push_back("power off");
        settingsSaved = store->has(sections::Config, "Volume");
        mediumClosed = backend->loaded.empty();
    }
    Lines from(const std::string& first) const {
        return {std::find(log.begin(), log.end(), first), log.end()};
    }
    int powerOffs() const { return int(std::count(log.begin(), log.end(), "power off")); }

    Lines log;
    test::MemorySettingsStore* store = nullptr;
    test::FakeBackend* backend = nullptr;
    bool settingsSaved = false, mediumClosed = false;
};

class ShutdownServiceTest : public ::testing::Test, protected test::ControllerRig {
protected:
    void SetUp() override {
        rec.store = &store;
        rec.backend = &backend;
        controller.attachBookmarks(&rec);
        controller.attachOsd(&rec);
        controller.attachShutdown(&service);
        controller.onExited = [this] { rec.log.push_back("exited"); };
        start();
    }
    void choose(ShutdownMode mode, std::time_t target = 0) {
        service.schedule([&] {
            return std::optional<ShutdownChoice>({mode, localDateTime(target), kDefaultDelayIndex});
        });
    }
    bool clockRuns() const { return timers.isActive(TimerId::ShutdownClock); }

    Recorder rec;
    std::time_t now = toTimeT({2024, 3, 9, 23, 59, 50});
    ShutdownService service{{timers, rec,
                             [this] {
                                 rec.log.push_back("close file");
                                 controller.closeFile();
                             },
                             [this] {
                                 rec.log.push_back("exit");
                                 controller.exit();
                             }},
                            rec,
                            store,
                            [this] { return now; }};
};

const Lines kShutdownOrder{"close file", "bookmarks saved", "exit", "exited", "power off"};

TEST_F(ShutdownServiceTest, EndOfTheMediumArmedForClosesExitsThenPowersOff) {
    play("/m/a.avi");
    choose(ShutdownMode::AtEnd);
    EXPECT_FALSE(clockRuns());
    play("/m/b.avi");  // another medium started: the schedule was a.avi's
    tickAt(20.0);
    EXPECT_EQ(rec.powerOffs(), 0);
    EXPECT_EQ(playlist.log, Lines{"playEntry -1"});

    choose(ShutdownMode::AtEnd);
    tickAt(10.0);
    EXPECT_EQ(rec.powerOffs(), 0);
    tickAt(20.0);
    EXPECT_EQ(rec.from("close file"), kShutdownOrder);
    EXPECT_TRUE(rec.settingsSaved);
    EXPECT_TRUE(rec.mediumClosed);
    EXPECT_EQ(playlist.log.size(), 1u);  // the playlist was not asked to play on
}

TEST_F(ShutdownServiceTest, TimedShutdownRunsOnTimer110AtOrAfterItsSecondOnce) {
    play("/m/film.avi");
    choose(ShutdownMode::AtTime, now + 15);  // 00:00:05 of the next day
    EXPECT_EQ(timers.active[TimerId::ShutdownClock], 1000);
    EXPECT_EQ(rec.log.back(), "osd 2024년 3월 10일 0시 0분 5초에 자동으로 시스템이 종료됩니다!");
    now += 14;
    controller.onTimer(TimerId::ShutdownClock);
    EXPECT_EQ(rec.powerOffs(), 0);
    now += 3;  // the tick of the very second never came
    controller.onTimer(TimerId::ShutdownClock);
    EXPECT_EQ(rec.from("close file"), kShutdownOrder);
    EXPECT_FALSE(clockRuns());
    controller.onTimer(TimerId::ShutdownClock);  // a tick already queued
    EXPECT_EQ(rec.powerOffs(), 1);
}

TEST_F(ShutdownServiceTest, ADelayedShutdownWithNothingLoadedKeepsTheOrder) {
    choose(ShutdownMode::AfterDelay);
    controller.onTimer(TimerId::ShutdownClock);
    EXPECT_EQ(rec.from("close file"), (Lines{"close file", "exit", "exited", "power off"}));
    EXPECT_TRUE(rec.settingsSaved);
}

}  // namespace
}  // namespace orvalis
