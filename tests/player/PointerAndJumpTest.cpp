#include <gtest/gtest.h>

#include <climits>

#include "base/SettingsKeys.h"
#include "player/Jumps.h"
#include "player/MouseMap.h"
#include "player/WindowSteps.h"
#include "support/TestSupport.h"

using namespace orvalis;
using C = CommandId;

// Alt and Ctrl come before "Mouse Wheel"; the option decides the plain and the Shift turn.
TEST(Wheel, ModifiersThenTheOptionDecide) {
    const KeyModifiers alt{.alt = true}, ctrl{.ctrl = true}, shift{.shift = true};
    struct Case {
        int option;
        std::optional<C> plainUp, plainDown, shiftUp, shiftDown;
    };
    const Case cases[] = {
        {0, C::JumpForward, C::JumpBack, C::VolumeUp, C::VolumeDown},
        {1, C::VolumeUp, C::VolumeDown, C::BookmarkNext, C::BookmarkPrevious},
        {2, C::GrowWindow, C::ShrinkWindow, C::VolumeUp, C::VolumeDown},
        {-1, std::nullopt, std::nullopt, C::BookmarkNext, C::BookmarkPrevious},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(mapWheel(true, {}, c.option), c.plainUp) << c.option;
        EXPECT_EQ(mapWheel(false, {}, c.option), c.plainDown) << c.option;
        EXPECT_EQ(mapWheel(true, shift, c.option), c.shiftUp) << c.option;
        EXPECT_EQ(mapWheel(false, shift, c.option), c.shiftDown) << c.option;
        EXPECT_EQ(mapWheel(true, alt, c.option), C::CaptionAreaLarger);
        EXPECT_EQ(mapWheel(false, KeyModifiers{.ctrl = true, .alt = true}, c.option),
                  C::CaptionAreaSmaller);
        EXPECT_EQ(mapWheel(true, ctrl, c.option), C::CaptionLarger);
    }
    EXPECT_EQ(mapWheelClick(0), C::FullScreen);
    EXPECT_EQ(mapWheelClick(2), C::QuickMinimise);
    EXPECT_EQ(mapWheelClick(3), std::nullopt);

    test::MemorySettingsStore settings;
    settings.putInt(sections::ConfigCustom, "Mouse Wheel", 2);
    settings.putInt(sections::ConfigCustom, "Wheel Click", 0);
    EXPECT_EQ(MouseOptions::read(settings).mouseWheel, 2);
    EXPECT_EQ(MouseOptions::read(settings).wheelClick, 0);

    // X11 turns Alt + wheel into a sideways turn; it is still the wheel that moves the captions.
    EXPECT_EQ(wheelTurn(0, 120, {}), 120);
    EXPECT_EQ(wheelTurn(-120, 0, alt), -120);
    EXPECT_EQ(wheelTurn(120, 0, {}), 0);  // a tilted wheel is not a turn
}

TEST(Wheel, AccumulatorCountsWholeNotchesAndSurvivesBursts) {
    WheelAccumulator w;
    EXPECT_EQ(w.add(120), 1);
    EXPECT_EQ(w.add(-240), -2);
    // A touchpad's small steps add up.
    EXPECT_EQ(w.add(50), 0);
    EXPECT_EQ(w.add(50), 0);
    EXPECT_EQ(w.add(50), 1);
    // The remainder does not delay a turn the other way.
    EXPECT_EQ(w.add(-120), -1);
    // A runaway delta runs a bounded number of commands.
    EXPECT_EQ(w.add(INT_MAX), WheelAccumulator::kMaxNotchesPerEvent);
    EXPECT_EQ(w.add(INT_MIN), -WheelAccumulator::kMaxNotchesPerEvent);
}

TEST(ClickToggle, OnlyAPlainClickOnARunningMediumToggles) {
    ClickToggle t;
    auto click = [&](bool activating, bool drag, int releaseX, bool running) {
        t.press(300, activating);
        if (drag) t.dragged();
        return t.release(releaseX, running);
    };
    EXPECT_TRUE(click(false, false, 300, true));
    EXPECT_FALSE(click(false, false, 300, false));  // nothing loaded, or stopped
    EXPECT_FALSE(t.release(300, true));             // no press before this release
    EXPECT_FALSE(click(true, false, 300, true));    // it brought the window to the front
    EXPECT_FALSE(click(false, true, 300, true));
    EXPECT_FALSE(t.pressed());
    EXPECT_FALSE(click(false, false, 301, true));
    EXPECT_TRUE(click(false, false, 300, true));  // activation and drag count for one click

    // The menu guard swallows the click that closed the menu, and those until it elapses.
    t.menuOpened();
    t.press(300, false);
    t.menuClosed();
    EXPECT_FALSE(t.release(300, true));
    EXPECT_FALSE(click(false, false, 300, true));
    t.guardElapsed();
    EXPECT_TRUE(click(false, false, 300, true));
}

TEST(Jumps, IntervalsAreSecondsOrMillisecondsAboveTenThousand) {
    EXPECT_DOUBLE_EQ(jumpStepSeconds(10000), 10000.0);
    EXPECT_DOUBLE_EQ(jumpStepSeconds(10001), 0.001);
    EXPECT_DOUBLE_EQ(jumpStepSeconds(-20), 0.0);
    EXPECT_DOUBLE_EQ(jumpStepSeconds(INT_MAX), (INT_MAX - 10000) / 1000.0);
    EXPECT_EQ(jumpStepText(10000), "10000");
    EXPECT_EQ(jumpStepText(10001), "0.001");
    EXPECT_EQ(jumpStepText(12500), "2.5");
    EXPECT_EQ(jumpStepText(13000), "3");
}

TEST(Jumps, TargetsClampAtBothEnds) {
    JumpSettings s{10000, 30};
    Playhead p{true, 100.0, 600.0, 42.0};
    EXPECT_EQ(seekTarget(C::JumpForward, p, s), 600.0);
    EXPECT_EQ(seekTarget(C::JumpBack, p, s), 0.0);
    EXPECT_EQ(seekTarget(C::JumpForwardLarge, p, s), 130.0);
    EXPECT_EQ(seekTarget(C::JumpBackLarge, Playhead{true, 30.0, 600.0}, s), 0.0);
    s.interval = 10001;
    EXPECT_DOUBLE_EQ(*seekTarget(C::JumpBack, p, s), 99.999);

    // Unknown duration (a live stream) puts no end to a forward jump; an unknown position
    // counts as the start.
    s.interval = 10;
    EXPECT_EQ(seekTarget(C::JumpForward, Playhead{true, 50.0, 0.0}, s), 60.0);
    EXPECT_EQ(seekTarget(C::JumpForward, Playhead{true, -1.0, 600.0}, s), 10.0);
    EXPECT_EQ(seekTarget(C::GoToStart, p, s), 0.0);
    EXPECT_EQ(seekTarget(C::GoToRepeatStart, p, s), 42.0);
    EXPECT_EQ(seekTarget(C::GoToEnd, p, s), 597.0);
    EXPECT_EQ(seekTarget(C::GoToEnd, Playhead{true, 1.0, 2.0}, s), 0.0);
    EXPECT_EQ(seekTarget(C::VolumeUp, p, s), std::nullopt);
    // Nothing loaded: every position key is consumed and does nothing.
    for (C c : {C::JumpBack, C::JumpForwardLarge, C::GoToStart, C::GoToRepeatStart, C::GoToEnd})
        EXPECT_EQ(seekTarget(c, Playhead{false, 100.0, 600.0}, s), std::nullopt);

    test::MemorySettingsStore settings;
    settings.putInt(sections::Config, "IntervalCtrl", 10500);
    EXPECT_EQ(JumpSettings::read(settings).intervalCtrl, 10500);
}

TEST(WindowSteps, GrowAndShrink) {
    const PixelRect w{100, 100, 500, 400};
    EXPECT_EQ(grownWindow(w, 1920, 1080, false), (PixelRect{60, 70, 540, 430}));
    EXPECT_EQ(shrunkWindow(w, false), (PixelRect{120, 115, 480, 385}));
    EXPECT_FALSE(grownWindow(w, 1920, 1080, true).has_value());
    EXPECT_FALSE(shrunkWindow(w, true).has_value());

    // Already as large as a window can be tracked: spans 0 to that size.
    EXPECT_EQ(grownWindow({5, 10, 1925, 300}, 1920, 1080, false), (PixelRect{0, -20, 1920, 330}));
    EXPECT_EQ(grownWindow({5, 10, 200, 1200}, 1920, 1080, false), (PixelRect{-35, 0, 240, 1080}));

    // Never below 192 x 130, and a small window stays where it is.
    PixelRect small{50, 60, 50 + 200, 60 + 140};
    for (int i = 0; i < 5; ++i) small = *shrunkWindow(small, false);
    EXPECT_EQ(small, (PixelRect{50, 60, 50 + 192, 60 + 130}));
}
