#include <gtest/gtest.h>

#include "base/SettingsKeys.h"
#include "player/OsdMessages.h"
#include "support/TestSupport.h"

using namespace orvalis;
using namespace orvalis::osd;

TEST(OsdTexts, VolumeSpeedAndPanScan) {
    EXPECT_EQ(volumeText(19), "Volume : 100%");
    EXPECT_EQ(volumeText(5), "Volume : 26%");   // truncated, not rounded (26.3)
    EXPECT_EQ(volumeText(18), "Volume : 94%");  // 94.7

    EXPECT_EQ(speedText(1.0), "재생 속도 : 1.0X");
    EXPECT_EQ(speedText(0.25), "재생 속도 : 0.25X");

    EXPECT_EQ(panScanText(35), "Pan & Scan: 35 %");
}

TEST(OsdTexts, DragPreviewsInClockTextOrNumbers) {
    EXPECT_EQ(seekPreviewText(65.4, false), "00:01:05");
    EXPECT_EQ(seekPreviewText(65.44, true), "65.4");
    EXPECT_EQ(seekPreviewText(-3.0, false), "00:00:00");
    EXPECT_EQ(repeatRangeText(10.0, 60.5, false), "00:00:10 ~ 00:01:00");
    EXPECT_EQ(repeatRangeText(10.0, 60.5, true), "10000 ~ 60500");
}

TEST(OsdSwitches, EachMessageHasItsSwitchDefaultOn) {
    test::MemorySettingsStore settings;
    for (Switch which : {Switch::Speed, Switch::Volume, Switch::CaptionSpace})
        EXPECT_TRUE(switchOn(settings, which)) << switchKey(which).name;
    settings.putInt(sections::Config, "Show Tooltip Volume", 0);
    EXPECT_FALSE(switchOn(settings, Switch::Volume));
    EXPECT_TRUE(switchOn(settings, Switch::Speed));
    // The master switch belongs to the settings page; showing never reads it.
    settings.putInt(sections::Config, "Show Tooltip All", 0);
    EXPECT_TRUE(switchOn(settings, Switch::Speed));
}

TEST(OsdPlacement, AboveTheTransportBarOrAtThePointer) {
    Placement p;
    p.client = {100, 200, 740, 680};
    p.cursor = {900, 50};
    p.barHeight = 64;
    EXPECT_EQ(adjustmentAnchor(p), (Point{100, 680 - 16}));
    p.barShown = true;
    EXPECT_EQ(adjustmentAnchor(p), (Point{100, 680 - 64 - 11}));
    p.mainWindowShown = false;
    EXPECT_EQ(adjustmentAnchor(p), (Point{900, 50}));
    EXPECT_EQ(seekPreviewAnchor({900, 50}), (Point{920, 50}));
}

TEST(OsdPlan, DurationsAndHiding) {
    Plan shown = plan({100, 664}, "Volume : 26%", 0);
    EXPECT_TRUE(shown.visible);
    EXPECT_EQ(shown.text, "Volume : 26%");
    EXPECT_EQ(shown.at, (Point{101, 662}));
    EXPECT_EQ(shown.hideAfterMs, 1500);

    EXPECT_EQ(plan({0, 0}, "북마크가 해제되었습니다.", 4000).hideAfterMs, 4000);
    // A drag preview stays: no timer, and a running one must not hide it.
    Plan stays = plan({0, 0}, "00:01:05", -1);
    EXPECT_TRUE(stays.visible);
    EXPECT_FALSE(stays.hideAfterMs.has_value());

    Plan hidden = plan({5, 5}, "", 0);
    EXPECT_FALSE(hidden.visible);
    EXPECT_FALSE(hidden.hideAfterMs.has_value());
}
