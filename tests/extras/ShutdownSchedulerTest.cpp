#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "extras/ShutdownDialogModel.h"
#include "extras/ShutdownScheduler.h"
#include "support/TestSupport.h"

namespace orvalis {
namespace {

// The player window and the system as one log, so that the order of things shows.
struct Recorder final : ShutdownHost, PowerControl {
    std::vector<std::string> log;
    void startShutdownTimer(int ms) override { log.push_back("timer " + std::to_string(ms)); }
    void stopShutdownTimer() override { log.push_back("stop"); }
    void showMessage(const std::string& text, int ms) override {
        log.push_back("show " + text + " " + std::to_string(ms));
    }
    void hideMessage() override { log.push_back("hide"); }
    void closeMedium() override { log.push_back("close"); }
    void exitProgram() override { log.push_back("exit"); }
    void powerOff() override { log.push_back("poweroff"); }
    int count(const std::string& entry) const {
        return int(std::count(log.begin(), log.end(), entry));
    }
};

const std::vector<std::string> kShutdownSequence{"stop", "close", "exit", "poweroff"};

std::vector<std::string> tail(const std::vector<std::string>& v, std::size_t n) {
    return {v.end() - std::ptrdiff_t(std::min(n, v.size())), v.end()};
}

class SchedulerTest : public ::testing::Test {
protected:
    // 2024-03-09 23:59:58 local time: the target of a few cases lies past midnight.
    std::time_t now = toTimeT({2024, 3, 9, 23, 59, 58});
    Recorder rec;
    test::MemorySettingsStore store;
    ShutdownScheduler scheduler{rec, rec, store, [this] { return now; }};

    void choose(ShutdownMode mode, LocalDateTime target = {}, int delay = 4) {
        scheduler.schedule([&] { return std::optional<ShutdownChoice>({mode, target, delay}); });
    }
    void tick(std::time_t at) {
        now = at;
        scheduler.onTimer();
    }
};

TEST_F(SchedulerTest, EndOfMediumShutsDownInOrderOnlyOnceAndOnlyForItsMedium) {
    EXPECT_FALSE(scheduler.onMediumEnd());
    choose(ShutdownMode::AtEnd);
    scheduler.onPlaybackStarted();  // the next medium started before this one ended
    EXPECT_FALSE(scheduler.onMediumEnd());
    choose(ShutdownMode::AtEnd);
    EXPECT_EQ(rec.log.back(), "show 현재 미디어 재생이 끝나면 자동으로 시스템이 종료됩니다! 4000");
    EXPECT_EQ(rec.count("timer 1000"), 0);
    scheduler.onTimer();  // the clock has nothing to do with this mode
    EXPECT_EQ(rec.count("poweroff"), 0);

    EXPECT_TRUE(scheduler.onMediumEnd());
    EXPECT_EQ(tail(rec.log, 4), kShutdownSequence);
    scheduler.onTimer();
    scheduler.shutdownNow();
    EXPECT_FALSE(scheduler.onMediumEnd());
    EXPECT_EQ(rec.count("poweroff"), 1);
    EXPECT_EQ(rec.count("close"), 1);
    // Once the shutdown has begun, a new schedule arms nothing.
    choose(ShutdownMode::AtTime, localDateTime(now + 60));
    EXPECT_EQ(rec.count("timer 1000"), 0);
}

TEST_F(SchedulerTest, TimedShutdownFiresAtOrAfterItsSecond) {
    const std::time_t target = now + 4;  // 00:00:02 of the next day
    choose(ShutdownMode::AtTime, localDateTime(target));
    EXPECT_EQ(rec.count("timer 1000"), 1);
    tick(target - 2);
    tick(target - 1);
    EXPECT_EQ(rec.count("poweroff"), 0);
    tick(target);  // a skipped second is ShutdownServiceTest.cpp's
    EXPECT_EQ(tail(rec.log, 4), kShutdownSequence);
}

TEST_F(SchedulerTest, APassedMomentIsToldAndNothingIsArmed) {
    // The stored date of an earlier evening with a new time: a second already gone.
    choose(ShutdownMode::AtTime, {2024, 3, 8, 23, 30, 0});
    EXPECT_EQ(rec.log.back(),
              "show 2024년 3월 8일 23시 30분 0초는 이미 지난 시각입니다. 시스템종료를 예약하지 "
              "않았습니다. 4000");
    EXPECT_EQ(rec.count("timer 1000"), 0);
    EXPECT_EQ(scheduler.mode(), ShutdownMode::None);
    for (int i = 0; i < 5; ++i) tick(now + 3600 * i);
    EXPECT_EQ(rec.count("poweroff"), 0);
    // The very second of now is still to come.
    choose(ShutdownMode::AtTime, localDateTime(now));
    EXPECT_EQ(rec.count("timer 1000"), 1);
}

TEST_F(SchedulerTest, DelayedShutdownArmsTheDelayChosen) {
    choose(ShutdownMode::AfterDelay, {}, 0);
    EXPECT_EQ(rec.log[rec.log.size() - 2], "timer 600000");
    EXPECT_EQ(rec.log.back(), "show 10분 후에 자동으로 시스템이 종료됩니다! 4000");
    choose(ShutdownMode::AfterDelay, {}, 7);
    EXPECT_EQ(rec.log[rec.log.size() - 2], "timer 18000000");
    EXPECT_EQ(rec.log.back(), "show 5시간 후에 자동으로 시스템이 종료됩니다! 4000");
}

TEST_F(SchedulerTest, OpeningTheDialogDisarmsFirstAndCancelTurnsItOff) {
    choose(ShutdownMode::AfterDelay);
    std::vector<std::string> seenByDialog;
    rec.log.clear();
    scheduler.schedule([&] {
        seenByDialog = rec.log;
        EXPECT_EQ(scheduler.mode(), ShutdownMode::None);
        return std::optional<ShutdownChoice>();  // "예약 해제" or Escape
    });
    EXPECT_EQ(seenByDialog, (std::vector<std::string>{"stop", "hide"}));
    EXPECT_EQ(rec.log.back(), "show 시스템종료 예약 기능을 사용하지 않습니다. 4000");
    scheduler.onTimer();
    EXPECT_EQ(rec.count("poweroff"), 0);

    choose(ShutdownMode::AtEnd);
    choose(ShutdownMode::None);  // OK with no box checked
    EXPECT_EQ(rec.log.back(), "show 시스템종료 예약 기능을 사용하지 않습니다. 4000");
    EXPECT_FALSE(scheduler.onMediumEnd());
}

TEST_F(SchedulerTest, MessagesFollowTheOnScreenMessageSwitch) {
    store.putInt("Config", "Show Tooltip All", 0);
    choose(ShutdownMode::AfterDelay);
    for (const auto& entry : rec.log) EXPECT_NE(entry.rfind("show", 0), 0u) << entry;
    scheduler.onTimer();
    EXPECT_EQ(rec.count("poweroff"), 1);  // the schedule itself is armed all the same
}

TEST(ShutdownDialog, PresetsFromTheStoreOrNow) {
    test::MemorySettingsStore store;
    const LocalDateTime now{2024, 5, 6, 7, 8, 9};
    ShutdownDialogModel first(store, now, true);
    EXPECT_EQ(first.picked(), now);
    EXPECT_EQ(first.delayIndex(), 4);  // 2 hours on first use
    EXPECT_EQ(first.checkedBox(), ShutdownMode::None);

    const LocalDateTime stored{2023, 2, 28, 22, 30, 15};
    const char* s = "Config\\Shutdown";
    const std::pair<const char*, int> keys[] = {{"Year", 2023},  {"Month", 2},   {"Day", 28},
                                                {"Hour", 22},    {"Minute", 30}, {"Second", 15},
                                                {"Left Time", 1}};
    for (auto [key, value] : keys) store.putInt(s, key, value);
    ShutdownDialogModel again(store, now, true);
    EXPECT_EQ(again.picked(), stored);
    EXPECT_EQ(again.delayIndex(), 1);

    // A garbled store presets what a fresh one would.
    store.putInt(s, "Day", 29);  // 2023 has no 29 February
    store.putInt(s, "Left Time", 8);
    ShutdownDialogModel garbled(store, now, true);
    EXPECT_EQ(garbled.picked(), now);
    EXPECT_EQ(garbled.delayIndex(), 4);
}

TEST(ShutdownDialog, BoxesExcludeEachOtherAndOkWritesTheNextPresets) {
    test::MemorySettingsStore store;
    ShutdownDialogModel idle(store, {2024, 1, 1, 0, 0, 0}, false);
    EXPECT_FALSE(idle.isEnabled(ShutdownMode::AtEnd));
    idle.setChecked(ShutdownMode::AtEnd, true);
    EXPECT_EQ(idle.checkedBox(), ShutdownMode::None);

    ShutdownDialogModel dialog(store, {2024, 1, 1, 0, 0, 0}, true);
    dialog.setChecked(ShutdownMode::AtEnd, true);
    dialog.setChecked(ShutdownMode::AtTime, true);
    EXPECT_FALSE(dialog.isChecked(ShutdownMode::AtEnd));
    EXPECT_TRUE(dialog.isChecked(ShutdownMode::AtTime));
    dialog.setChecked(ShutdownMode::AfterDelay, false);  // not the checked one: no change
    EXPECT_TRUE(dialog.isChecked(ShutdownMode::AtTime));
    dialog.setChecked(ShutdownMode::AtTime, false);
    EXPECT_EQ(dialog.checkedBox(), ShutdownMode::None);

    // OK writes the next presets whatever the mode.
    dialog.setChecked(ShutdownMode::AtEnd, true);
    dialog.setDate(2030, 7, 14);
    dialog.setTime(21, 45, 3);
    dialog.setDelayIndex(6);
    dialog.setDelayIndex(-1);  // not in the list: ignored
    const ShutdownChoice choice = dialog.accept(store);
    EXPECT_EQ(choice.mode, ShutdownMode::AtEnd);
    EXPECT_EQ(choice.target, (LocalDateTime{2030, 7, 14, 21, 45, 3}));
    EXPECT_EQ(choice.delayIndex, 6);
    const char* s = "Config\\Shutdown";
    EXPECT_EQ(store.getInt(s, "Left Time", -1), 6);
    EXPECT_EQ(store.getInt(s, "Year", 0), 2030);
    EXPECT_EQ(store.getInt(s, "Month", 0), 7);
    EXPECT_EQ(store.getInt(s, "Second", 0), 3);
    EXPECT_EQ(ShutdownDialogModel(store, {2024, 1, 1, 0, 0, 0}, true).picked(), choice.target);
}

}  // namespace
}  // namespace orvalis
