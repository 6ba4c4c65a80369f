#include "engine/Adjustments.h"

#include <algorithm>
#include <cmath>

#include "base/SettingsKeys.h"
#include "base/SettingsStore.h"
#include "engine/MediaBackend.h"

namespace orvalis {

namespace volume {

namespace {
// Hundredths of a decibel, by step.
constexpr int kAttenuation[kMaxStep + 1] = {-10000, -5000, -3440, -2720, -2310, -1970, -1680,
                                            -1360,  -1100, -880,  -720,  -550,  -450,  -350,
                                            -290,   -200,  -140,  -100,  -90,   0};
}  // namespace

int clampStep(int step) {
    return std::clamp(step, 0, kMaxStep);
}

int attenuation(int step) {
    return kAttenuation[clampStep(step)];
}

double mpvVolume(int step, bool muted) {
    step = clampStep(step);
    if (muted || step == 0) return 0.0;
    double db = attenuation(step) / 100.0;
    return 100.0 * std::pow(10.0, db / 60.0);
}

int sliderValue(int step) {
    return (clampStep(step) + 1) * 3;
}

int stepFromSlider(int value) {
    return clampStep((value - 1) / 3);
}

}  // namespace volume

void VolumeControl::load(const SettingsStore& settings) {
    step_ = volume::clampStep(settings::get(settings, keys::Volume));
    muted_ = settings::get(settings, keys::Mute);
}

void VolumeControl::save(SettingsStore& settings) const {
    settings::put(settings, keys::Volume, step_);
    settings::put(settings, keys::Mute, muted_);
}

int VolumeControl::setStep(int step) {
    step_ = volume::clampStep(step);
    apply();
    return step_;
}

bool VolumeControl::toggleMute() {
    setMuted(!muted_);
    return muted_;
}

void VolumeControl::setMuted(bool muted) {
    muted_ = muted;
    apply();
}

void VolumeControl::apply() const {
    backend_.setVolume(volume::mpvVolume(step_, muted_));
}

int pictureToMpv(int value, int defaultValue, int maxValue) {
    value = std::clamp(value, 0, maxValue);
    double scaled;
    if (value >= defaultValue) {
        int span = maxValue - defaultValue;
        scaled = span > 0 ? 100.0 * (value - defaultValue) / span : 0.0;
    } else {
        scaled = defaultValue > 0 ? 100.0 * (value - defaultValue) / defaultValue : 0.0;
    }
    return static_cast<int>(std::lround(std::clamp(scaled, -100.0, 100.0)));
}

namespace {
int index(PictureKind kind) {
    return static_cast<int>(kind);
}
}  // namespace

void PictureControls::setDefaults(int brightness, int contrast, int saturation) {
    default_[0] = brightness < 100 ? kBrightnessDefault : std::min(brightness, kBrightnessMax);
    default_[1] = contrast < 500 ? kColourDefault : std::min(contrast, kColourMax);
    default_[2] = saturation < 500 ? kColourDefault : std::min(saturation, kColourMax);
    std::copy(std::begin(default_), std::end(default_), std::begin(current_));
}

int PictureControls::value(PictureKind kind) const {
    return current_[index(kind)];
}

int PictureControls::defaultValue(PictureKind kind) const {
    return default_[index(kind)];
}

int PictureControls::maxValue(PictureKind kind) {
    return kind == PictureKind::Brightness ? kBrightnessMax : kColourMax;
}

int& PictureControls::current(PictureKind kind) {
    return current_[index(kind)];
}

int PictureControls::up(PictureKind kind) {
    int v = value(kind);
    int step = kind != PictureKind::Brightness ? 200 : (v > 1000 ? 100 : 80);
    return set(kind, v + step);
}

int PictureControls::down(PictureKind kind) {
    int v = value(kind);
    int step = kind != PictureKind::Brightness ? 200 : (v <= 1000 ? 80 : 100);
    return set(kind, v - step);
}

int PictureControls::reset(PictureKind kind) {
    return current(kind) = defaultValue(kind);
}

int PictureControls::set(PictureKind kind, int v) {
    return current(kind) = std::clamp(v, 0, maxValue(kind));
}

int PictureControls::mpvValue(PictureKind kind) const {
    return pictureToMpv(value(kind), defaultValue(kind), maxValue(kind));
}

void PictureControls::apply(MediaBackend& backend) const {
    backend.setPictureAdjustments(mpvValue(PictureKind::Brightness),
                                  mpvValue(PictureKind::Contrast),
                                  mpvValue(PictureKind::Saturation));
}

void PictureControls::save(SettingsStore& settings) const {
    settings::put(settings, keys::Brightness, value(PictureKind::Brightness));
    settings::put(settings, keys::Contrast, value(PictureKind::Contrast));
    settings::put(settings, keys::Saturation, value(PictureKind::Saturation));
}

}  // namespace orvalis
