#include <gtest/gtest.h>

#include "base/SettingsKeys.h"
#include "engine/Adjustments.h"
#include "engine/FakeBackend.h"
#include "support/TestSupport.h"

using namespace orvalis;
using orvalis::test::FakeBackend;
using orvalis::test::MemorySettingsStore;

TEST(Volume, StepsRiseOnMpvsCubicCurveAndRoundTripThroughTheWedge) {
    // v = 100 x 10^(dB / 60): -19.7 dB at the default step, 0 dB at the top.
    EXPECT_NEAR(volume::mpvVolume(5, false), 46.95, 0.01);
    EXPECT_DOUBLE_EQ(volume::mpvVolume(volume::kMaxStep, false), 100.0);
    EXPECT_EQ(volume::mpvVolume(0, false), 0.0);
    EXPECT_EQ(volume::mpvVolume(12, true), 0.0);
    for (int s = 1; s <= volume::kMaxStep; ++s) {
        EXPECT_GT(volume::mpvVolume(s, false), volume::mpvVolume(s - 1, false)) << "step " << s;
        EXPECT_EQ(volume::stepFromSlider(volume::sliderValue(s)), s);
    }
    EXPECT_EQ(volume::attenuation(-3), -10000);
    EXPECT_EQ(volume::attenuation(40), 0);
    // The wedge's far left and far right, and beyond.
    for (auto [slider, step] : {std::pair{0, 0}, {1, 0}, {4, 1}, {60, 19}, {500, 19}, {-50, 0}})
        EXPECT_EQ(volume::stepFromSlider(slider), step) << slider;
}

TEST(Volume, ControlClampsMutesAndAppliesToTheBackend) {
    FakeBackend backend;
    MemorySettingsStore settings;
    settings.putInt(sections::Config, "Volume", 44);
    VolumeControl v(backend);
    v.load(settings);
    EXPECT_EQ(v.up(), 19);  // 44 reads as the top step, and up stays there
    EXPECT_DOUBLE_EQ(backend.volume, 100.0);

    v.toggleMute();
    EXPECT_EQ(backend.volume, 0.0);
    EXPECT_EQ(v.down(), 18);  // the step changes, the sound stays silent
    EXPECT_EQ(backend.volume, 0.0);
    v.toggleMute();
    EXPECT_NEAR(backend.volume, volume::mpvVolume(18, false), 1e-9);
    for (int i = 0; i < 30; ++i) v.down();
    EXPECT_EQ(v.step(), 0);

    v.setMuted(true);
    v.save(settings);
    EXPECT_EQ(settings.getInt(sections::Config, "Volume", -1), 0);
    EXPECT_EQ(settings.getInt(sections::Config, "Mute", -1), 1);
    settings.putInt(sections::Config, "Volume", -7);
    v.load(settings);
    EXPECT_EQ(v.step(), 0);
}

TEST(Picture, StepsStayWithinTheirRangeAndResetToTheOpenedMediumsValues) {
    // Brightness steps change size at 1000; contrast and saturation move by 200.
    PictureControls p;
    const int brightness[][3] = {{1000, +1, 1080}, {1080, +1, 1180},  {1080, -1, 980},
                                 {980, -1, 900},   {9950, +1, 10000}, {50, -1, 0}};
    for (const auto& [from, way, to] : brightness) {
        p.set(PictureKind::Brightness, from);
        EXPECT_EQ(way > 0 ? p.up(PictureKind::Brightness) : p.down(PictureKind::Brightness), to)
            << from;
    }
    EXPECT_EQ(p.reset(PictureKind::Brightness), 750);
    for (PictureKind k : {PictureKind::Contrast, PictureKind::Saturation}) {
        EXPECT_EQ(p.up(k), 10200);
        p.set(k, 19900);
        EXPECT_EQ(p.up(k), 20000);
        p.set(k, 100);
        EXPECT_EQ(p.down(k), 0);
        EXPECT_EQ(p.reset(k), 10000);
    }
    // Values of the medium below the lowest usable ones fall back to the usual defaults.
    p.setDefaults(99, 499, 499);
    EXPECT_EQ(p.defaultValue(PictureKind::Brightness), 750);
    EXPECT_EQ(p.defaultValue(PictureKind::Contrast), 10000);
    p.setDefaults(100, 500, 8000);
    EXPECT_EQ(p.value(PictureKind::Contrast), 500);
    p.up(PictureKind::Saturation);
    EXPECT_EQ(p.reset(PictureKind::Saturation), 8000);
}

TEST(Picture, MapsLinearlyOntoMpvAroundTheDefault) {
    // A default at either end of the range maps without dividing by zero.
    const int cases[][4] = {
        {750, 750, 10000, 0},     {0, 750, 10000, -100},  {10000, 750, 10000, 100},
        {375, 750, 10000, -50},   {5375, 750, 10000, 50}, {10200, 10000, 20000, 2},
        {-5, 10000, 20000, -100}, {0, 0, 10000, 0},       {10000, 10000, 10000, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(pictureToMpv(c[0], c[1], c[2]), c[3]) << c[0] << " " << c[1];

    FakeBackend backend;
    PictureControls p;
    p.down(PictureKind::Contrast);
    p.up(PictureKind::Saturation);
    p.set(PictureKind::Brightness, 0);
    p.apply(backend);
    EXPECT_EQ(backend.picture, (std::vector<int>{-100, -2, 2}));
    MemorySettingsStore settings;
    p.save(settings);
    EXPECT_EQ(settings.writes, (std::vector<std::string>{"Config/Brignt=0", "Config/Contrast=9800",
                                                         "Config/Saturation=10200"}));
}
