#pragma once

#include "base/SettingsKeys.h"

namespace orvalis {

class MediaBackend;
class SettingsStore;

// The volume as a step 0..19, turned into the audio output's level through a fixed table
// of attenuations; mute forces the table's silent entry.
namespace volume {

inline constexpr int kMaxStep = 19;
inline constexpr int kDefaultStep = keys::Volume.def();

int clampStep(int step);
// The attenuation of a step in hundredths of a decibel (-10000 for step 0, 0 for step 19).
int attenuation(int step);
// libmpv's volume for a step: 100 x 10^(dB / 60) on its cubic curve, 0 for step 0 and
// while muted.
double mpvVolume(int step, bool muted);

// The transport bar's volume slider value of a step, (step + 1) x 3, and back.
int sliderValue(int step);
int stepFromSlider(int value);

}  // namespace volume

// The volume step and mute of the player, applied to the backend.
class VolumeControl {
public:
    explicit VolumeControl(MediaBackend& backend) : backend_(backend) {}

    // Config "Volume" (clamped to 0..19) and "Mute".
    void load(const SettingsStore& settings);
    // Writes "Volume" then "Mute", as Exit does.
    void save(SettingsStore& settings) const;

    int step() const { return step_; }
    bool muted() const { return muted_; }

    // Clamps, stores and applies. Returns the step now in force.
    int setStep(int step);
    int up() { return setStep(step_ + 1); }
    int down() { return setStep(step_ - 1); }
    // Flips mute and applies the volume again.
    bool toggleMute();
    void setMuted(bool muted);
    // Gives the backend the level of the current step (after every successful open).
    void apply() const;

private:
    MediaBackend& backend_;
    int step_ = volume::kDefaultStep;
    bool muted_ = false;
};

// Brightness, contrast and saturation, each a current and a default value in the player's
// own ranges (brightness 0..10000 around 750, contrast and saturation 0..20000 around 10000),
// shown to libmpv on its -100..100 scale, linearly on each side of the default.
enum class PictureKind { Brightness, Contrast, Saturation };

class PictureControls {
public:
    static constexpr int kBrightnessDefault = 750;
    static constexpr int kBrightnessMax = 10000;
    static constexpr int kColourDefault = 10000;  // contrast and saturation
    static constexpr int kColourMax = 20000;

    PictureControls() { setDefaults(0, 0, 0); }

    // The values found when a medium opens: a brightness below 100 becomes 750, a contrast
    // or saturation below 500 becomes 10000. Current and default both take them.
    void setDefaults(int brightness, int contrast, int saturation);

    int value(PictureKind kind) const;
    int defaultValue(PictureKind kind) const;
    static int maxValue(PictureKind kind);

    // Brightness moves by 80 up to 1000 and by 100 above; the others by 200. Each returns
    // the new value, kept within its range.
    int up(PictureKind kind);
    int down(PictureKind kind);
    int reset(PictureKind kind);
    // A value from a slider, kept within the range.
    int set(PictureKind kind, int value);

    // libmpv's -100..100 value of the current setting.
    int mpvValue(PictureKind kind) const;
    // Gives the backend all three.
    void apply(MediaBackend& backend) const;
    // Writes "Brignt" (so spelled), "Contrast" and "Saturation", as Exit does.
    void save(SettingsStore& settings) const;

private:
    int& current(PictureKind kind);

    int current_[3] = {};
    int default_[3] = {};
};

// The mapping onto libmpv alone: value 0 is -100, the default 0, the maximum 100.
int pictureToMpv(int value, int defaultValue, int maxValue);

}  // namespace orvalis
