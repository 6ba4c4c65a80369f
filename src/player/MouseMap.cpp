#include "player/MouseMap.h"

#include "base/SettingsKeys.h"
#include "base/SettingsStore.h"

namespace orvalis {

using C = CommandId;

MouseOptions MouseOptions::read(const SettingsStore& settings) {
    MouseOptions o;
    o.mouseWheel = settings::get(settings, keys::MouseWheel);
    o.wheelClick = settings::get(settings, keys::WheelClick);
    return o;
}

std::optional<CommandId> mapWheel(bool up, KeyModifiers mods, int mouseWheel) {
    if (mods.alt) return up ? C::CaptionAreaLarger : C::CaptionAreaSmaller;
    if (mods.ctrl) return up ? C::CaptionLarger : C::CaptionSmaller;
    const CommandId volume = up ? C::VolumeUp : C::VolumeDown;
    const CommandId jump = up ? C::JumpForward : C::JumpBack;
    const CommandId bookmark = up ? C::BookmarkNext : C::BookmarkPrevious;
    switch (mouseWheel) {
        case 0:
            return mods.shift ? volume : jump;
        case 1:
            return mods.shift ? bookmark : volume;
        case 2:
            if (mods.shift) return volume;
            return up ? C::GrowWindow : C::ShrinkWindow;
        default:
            if (mods.shift) return bookmark;
            return std::nullopt;
    }
}

int wheelTurn(int deltaX, int deltaY, KeyModifiers modifiers) {
    if (deltaY != 0) return deltaY;
    return modifiers.alt ? deltaX : 0;
}

std::optional<CommandId> mapWheelClick(int wheelClick) {
    switch (wheelClick) {
        case 0:
            return C::FullScreen;
        case 1:
            return C::PlaylistWindow;
        case 2:
            return C::QuickMinimise;
        default:
            return std::nullopt;
    }
}

namespace {

constexpr WheelStroke kShownWheel[] = {
    {WheelStroke::Kind::Click, {}, C::PlaylistWindow},
    {WheelStroke::Kind::Up, {.alt = true}, C::CaptionAreaLarger},
    {WheelStroke::Kind::Down, {.alt = true}, C::CaptionAreaSmaller},
};

}  // namespace

std::span<const WheelStroke> shownWheelStrokes() {
    return kShownWheel;
}

std::string WheelStroke::text() const {
    const std::string out = modifierNames(modifiers);
    switch (kind) {
        case Kind::Up:
            return out + "WheelUp";
        case Kind::Down:
            return out + "WheelDown";
        case Kind::Click:
            break;
    }
    return out + "휠 클릭";
}

int WheelAccumulator::add(int angleDelta) {
    // A turn the other way starts afresh, so a reversal answers at its first notch.
    if ((angleDelta > 0 && pending_ < 0) || (angleDelta < 0 && pending_ > 0)) pending_ = 0;
    // Held in a wider type: a forged delta near INT_MAX must not overflow the sum.
    long long sum = static_cast<long long>(pending_) + angleDelta;
    long long notches = sum / kUnitsPerNotch;
    pending_ = static_cast<int>(sum - notches * kUnitsPerNotch);
    if (notches > kMaxNotchesPerEvent) return kMaxNotchesPerEvent;
    if (notches < -kMaxNotchesPerEvent) return -kMaxNotchesPerEvent;
    return static_cast<int>(notches);
}

void ClickToggle::press(int screenX, bool activating) {
    pressed_ = true;
    activating_ = activating;
    dragged_ = false;
    pressX_ = screenX;
}

void ClickToggle::dragged() {
    dragged_ = true;
}

bool ClickToggle::release(int screenX, bool running) {
    bool toggle = pressed_ && !dragged_ && !activating_ && !guard_ && screenX == pressX_ && running;
    pressed_ = false;
    dragged_ = false;
    activating_ = false;
    return toggle;
}

}  // namespace orvalis
