#include <gtest/gtest.h>

#include <cmath>

#include "base/SettingsKeys.h"
#include "engine/Adjustments.h"
#include "engine/FakeBackend.h"
#include "support/TestSupport.h"

using namespace orvalis;
using orvalis::test::FakeBackend;
using orvalis::test::MemorySettingsStore;

TEST(Volume, StepsFollowTheAttenuationTableOnMpvsCubicCurve) {
    // v = 100 x 10^(dB / 60): -19.7 dB at the default step, 0 dB at the top.
    EXPECT_DOUBLE_EQ(volume::mpvVolume(19, false), 100.0);
    EXPECT_NEAR(volume::mpvVolume(5, false), 46.95, 0.01);
    EXPECT_NEAR(volume::mpvVolume(1, false), 14.68, 0.01);
    EXPECT_NEAR(volume::mpvVolume(18, false), 96.6, 0.05);
    EXPECT_EQ(volume::mpvVolume(0, false), 0.0);
    EXPECT_EQ(volume::mpvVolume(12, true), 0.0);
    for (int s = 1; s <= volume::kMaxStep; ++s) {
        EXPECT_GT(volume::mpvVolume(s, false), volume::mpvVolume(s - 1, false)) << "step " << s;
    }
    EXPECT_EQ(volume::attenuation(-3), -10000);
    EXPECT_EQ(volume::attenuation(40), 0);
}

TEST(Volume, SliderValueAndStepRoundTrip) {
    for (int s = 0; s <= volume::kMaxStep; ++s) {
        EXPECT_EQ(volume::stepFromSlider(volume::sliderValue(s)), s);
    }
    EXPECT_EQ(volume::sliderValue(19), 60);
    EXPECT_EQ(volume::stepFromSlider(0), 0);  // the wedge's far left
    EXPECT_EQ(volume::stepFromSlider(1), 0);
    EXPECT_EQ(volume::stepFromSlider(4), 1);
    EXPECT_EQ(volume::stepFromSlider(60), 19);  // the wedge's far right
    EXPECT_EQ(volume::stepFromSlider(500), 19);
    EXPECT_EQ(volume::stepFromSlider(-50), 0);
}

TEST(Volume, ControlClampsMutesAndAppliesToTheBackend) {
    FakeBackend backend;
    MemorySettingsStore settings;
    settings.putInt(sections::Config, "Volume", 44);
    VolumeControl v(backend);
    v.load(settings);
    EXPECT_EQ(v.step(), 19);

    EXPECT_EQ(v.up(), 19);  // step 19 up stays 19
    EXPECT_DOUBLE_EQ(backend.volume, 100.0);

    v.toggleMute();
    EXPECT_TRUE(v.muted());
    EXPECT_EQ(backend.volume, 0.0);
    EXPECT_EQ(v.down(), 18);  // the step changes, the sound stays silent
    EXPECT_EQ(backend.volume, 0.0);
    v.toggleMute();
    EXPECT_NEAR(backend.volume, volume::mpvVolume(18, false), 1e-9);

    for (int i = 0; i < 30; ++i) v.down();
    EXPECT_EQ(v.step(), 0);
    EXPECT_EQ(backend.volume, 0.0);

    v.setMuted(true);
    v.save(settings);
    EXPECT_EQ(settings.getInt(sections::Config, "Volume", -1), 0);
    EXPECT_EQ(settings.getInt(sections::Config, "Mute", -1), 1);

    settings.putInt(sections::Config, "Volume", -7);
    v.load(settings);
    EXPECT_EQ(v.step(), 0);
}

TEST(Picture, BrightnessStepsChangeSizeAtOneThousand) {
    PictureControls p;
    p.set(PictureKind::Brightness, 1000);
    EXPECT_EQ(p.up(PictureKind::Brightness), 1080);
    EXPECT_EQ(p.up(PictureKind::Brightness), 1180);
    p.set(PictureKind::Brightness, 1080);
    EXPECT_EQ(p.down(PictureKind::Brightness), 980);
    EXPECT_EQ(p.down(PictureKind::Brightness), 900);

    p.set(PictureKind::Brightness, 9950);
    EXPECT_EQ(p.up(PictureKind::Brightness), 10000);
    p.set(PictureKind::Brightness, 50);
    EXPECT_EQ(p.down(PictureKind::Brightness), 0);
    EXPECT_EQ(p.reset(PictureKind::Brightness), 750);
}

TEST(Picture, ContrastAndSaturationMoveBy200WithinTheirRange) {
    PictureControls p;
    for (PictureKind k : {PictureKind::Contrast, PictureKind::Saturation}) {
        EXPECT_EQ(p.value(k), 10000);
        EXPECT_EQ(p.up(k), 10200);
        EXPECT_EQ(p.down(k), 10000);
        p.set(k, 19900);
        EXPECT_EQ(p.up(k), 20000);
        p.set(k, 100);
        EXPECT_EQ(p.down(k), 0);
        EXPECT_EQ(p.reset(k), 10000);
    }
}

TEST(Picture, DefaultsComeFromTheOpenedMediumWithFallbacks) {
    PictureControls p;
    p.setDefaults(99, 499, 499);
    EXPECT_EQ(p.defaultValue(PictureKind::Brightness), 750);
    EXPECT_EQ(p.defaultValue(PictureKind::Contrast), 10000);
    EXPECT_EQ(p.defaultValue(PictureKind::Saturation), 10000);
    p.setDefaults(100, 500, 8000);
    EXPECT_EQ(p.value(PictureKind::Brightness), 100);
    EXPECT_EQ(p.value(PictureKind::Contrast), 500);
    p.up(PictureKind::Saturation);
    EXPECT_EQ(p.reset(PictureKind::Saturation), 8000);
}

TEST(Picture, MapsLinearlyOntoMpvAroundTheDefault) {
    EXPECT_EQ(pictureToMpv(750, 750, 10000), 0);
    EXPECT_EQ(pictureToMpv(0, 750, 10000), -100);
    EXPECT_EQ(pictureToMpv(10000, 750, 10000), 100);
    EXPECT_EQ(pictureToMpv(375, 750, 10000), -50);
    EXPECT_EQ(pictureToMpv(5375, 750, 10000), 50);
    EXPECT_EQ(pictureToMpv(10200, 10000, 20000), 2);
    EXPECT_EQ(pictureToMpv(-5, 10000, 20000), -100);
    EXPECT_EQ(pictureToMpv(30000, 10000, 20000), 100);
    // A default at either end of the range still maps without dividing by zero.
    EXPECT_EQ(pictureToMpv(0, 0, 10000), 0);
    EXPECT_EQ(pictureToMpv(10000, 10000, 10000), 0);

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
