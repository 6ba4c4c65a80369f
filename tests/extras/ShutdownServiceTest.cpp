// The sleep timer wired into the player window's logic as the window wires it: timer 110
// and the end of the medium reach the scheduler through the shutdown port, and a shutdown
// runs Close File, Exit and the power-off, in that order. The power-off is a fake.
#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>

#include "base/SettingsKeys.h"
#include "extras/ShutdownService.h"
#include "support/ControllerRig.h"

namespace orvalis {
namespace {

// One log for the window, the bookmarks and the system, so that the order shows.
struct Log {
    std::vector<std::string> lines;
    void add(std::string line) { lines.push_back(std::move(line)); }
    int count(const std::string& line) const {
        return int(std::count(lines.begin(), lines.end(), line));
    }
    std::vector<std::string> from(const std::string& first) const {
        auto it = std::find(lines.begin(), lines.end(), first);
        return {it, lines.end()};
    }
};

struct FakeOsd final : OsdPort {
    explicit FakeOsd(Log& log) : log(log) {}
    void show(const std::string& text, int ms) override {
        log.add("osd " + text + " " + std::to_string(ms));
    }
    void showAt(const std::string& text, geometry::Point, int ms) override {
        log.add("osd " + text + " " + std::to_string(ms));
    }
    void hide() override { log.add("osd hide"); }
    Log& log;
};

struct FakeBookmarks final : BookmarkPort {
    explicit FakeBookmarks(Log& log) : log(log) {}
    void load(const std::string&, double) override {}
    void save() override { log.add("bookmarks saved"); }
    void toggle(double) override {}
    void clearAll() override {}
    std::optional<double> previous(double) override { return std::nullopt; }
    std::optional<double> next(double) override { return std::nullopt; }
    Log& log;
};

// The system's power-off, and what the player had done by the time it was asked for.
struct FakePower final : PowerControl {
    FakePower(Log& log, test::MemorySettingsStore& store, test::FakeBackend& backend)
        : log(log), store(store), backend(backend) {}
    void powerOff() override {
        log.add("power off");
        settingsSaved = store.has(sections::Config, "Volume");
        mediumClosed = backend.loaded.empty();
    }
    Log& log;
    test::MemorySettingsStore& store;
    test::FakeBackend& backend;
    bool settingsSaved = false, mediumClosed = false;
};

const std::vector<std::string> kShutdownOrder{"close file", "bookmarks saved", "exit", "exited",
                                              "power off"};

class ShutdownServiceTest : public ::testing::Test, protected test::ControllerRig {
protected:
    void SetUp() override {
        controller.attachBookmarks(&bookmarks);
        controller.attachOsd(&osd);
        controller.attachShutdown(&service);
        controller.onExited = [this] { log.add("exited"); };
        start();
    }
    void choose(ShutdownMode mode, std::time_t target = 0, int delay = kDefaultDelayIndex) {
        service.schedule([&] {
            return std::optional<ShutdownChoice>({mode, localDateTime(target), delay});
        });
    }
    int timer110() const {
        auto it = timers.active.find(TimerId::ShutdownClock);
        return it == timers.active.end() ? 0 : it->second;
    }

    Log log;
    std::time_t now = toTimeT({2024, 3, 9, 23, 59, 50});
    FakeOsd osd{log};
    FakeBookmarks bookmarks{log};
    FakePower power{log, store, backend};
    ShutdownService service{{timers, osd,
                             [this] {
                                 log.add("close file");
                                 controller.closeFile();
                             },
                             [this] {
                                 log.add("exit");
                                 controller.exit();
                             }},
                            power,
                            store,
                            [this] { return now; }};
};

TEST_F(ShutdownServiceTest, EndOfMediumClosesExitsThenPowersOff) {
    play("/m/film.avi");
    choose(ShutdownMode::AtEnd);
    EXPECT_EQ(log.lines.back(), "osd 현재 미디어 재생이 끝나면 자동으로 시스템이 종료됩니다! 4000");
    EXPECT_EQ(timer110(), 0);
    tickAt(10.0);
    EXPECT_EQ(log.count("power off"), 0);
    tickAt(20.0);
    EXPECT_EQ(log.from("close file"), kShutdownOrder);
    EXPECT_TRUE(power.settingsSaved);
    EXPECT_TRUE(power.mediumClosed);
    // The playlist was not asked to play on.
    EXPECT_TRUE(playlist.log.empty());
}

TEST_F(ShutdownServiceTest, AnotherMediumStartedTakesTheEndOfMediumScheduleAway) {
    play("/m/a.avi");
    choose(ShutdownMode::AtEnd);
    play("/m/b.avi");
    tickAt(20.0);
    EXPECT_EQ(log.count("power off"), 0);
    EXPECT_EQ(playlist.log, (std::vector<std::string>{"playEntry -1"}));
}

TEST_F(ShutdownServiceTest, TimedShutdownRunsOnTimer110AtOrAfterItsSecond) {
    play("/m/film.avi");
    choose(ShutdownMode::AtTime, now + 15);  // 00:00:05 of the next day
    EXPECT_EQ(timer110(), 1000);
    EXPECT_EQ(log.lines.back(),
              "osd 2024년 3월 10일 0시 0분 5초에 자동으로 시스템이 종료됩니다! 4000");
    now += 14;
    controller.onTimer(TimerId::ShutdownClock);
    EXPECT_EQ(log.count("power off"), 0);
    now += 3;  // the tick of the very second never came
    controller.onTimer(TimerId::ShutdownClock);
    EXPECT_EQ(log.from("close file"), kShutdownOrder);
    EXPECT_EQ(timer110(), 0);
    // A tick already queued does not start a second shutdown.
    controller.onTimer(TimerId::ShutdownClock);
    EXPECT_EQ(log.count("power off"), 1);
}

TEST_F(ShutdownServiceTest, DelayedShutdownRunsOnTheFirstTickEvenWithNothingLoaded) {
    choose(ShutdownMode::AfterDelay, 0, kDefaultDelayIndex);
    EXPECT_EQ(timer110(), 7200 * 1000);
    EXPECT_EQ(log.lines.back(), "osd 2시간 후에 자동으로 시스템이 종료됩니다! 4000");
    controller.onTimer(TimerId::ShutdownClock);
    // No medium: nothing to save bookmarks for, but the order holds.
    EXPECT_EQ(log.from("close file"),
              (std::vector<std::string>{"close file", "exit", "exited", "power off"}));
    EXPECT_TRUE(power.settingsSaved);
}

}  // namespace
}  // namespace orvalis
