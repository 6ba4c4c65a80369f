#pragma once

#include <optional>
#include <span>
#include <string>

#include "player/KeyMap.h"
#include "ports/Commands.h"

namespace orvalis {

class SettingsStore;

// Config\Custom "Mouse Wheel" and "Wheel Click", read each time the wheel is used.
struct MouseOptions {
    int mouseWheel = 1;  // 0 jumps, 1 volume, 2 window size; Shift gives the other action
    int wheelClick = 1;  // 0 full screen, 1 playlist window, 2 minimise

    static MouseOptions read(const SettingsStore& settings);
};

// One notch of the wheel. Alt moves the caption area, Ctrl sizes the caption; otherwise
// "Mouse Wheel" decides. Up jumps forward, down back; a jump with Shift held goes to the
// next or previous bookmark, as Shift+Right and Shift+Left do.
std::optional<CommandId> mapWheel(bool up, KeyModifiers modifiers, int mouseWheel);

// The wheel's movement in one event, from both of its deltas: the window system may give
// Alt + wheel as a sideways turn (X11 does), which is still the same wheel. Other sideways
// turns (a tilted wheel, a touchpad) are not the wheel's.
int wheelTurn(int deltaX, int deltaY, KeyModifiers modifiers);

// A press of the wheel.
std::optional<CommandId> mapWheelClick(int wheelClick);

// A move of the wheel a menu item names after its tab, with the options at their defaults:
// "Alt + WheelUp", "휠 클릭".
struct WheelStroke {
    enum class Kind { Up, Down, Click };
    Kind kind;
    KeyModifiers modifiers;
    CommandId command;
    std::string text() const;
};
std::span<const WheelStroke> shownWheelStrokes();

// Turns wheel movement into notches. A mouse moves 120 units per notch; a touchpad or a
// fine-grained wheel moves less at a time, and its movement adds up to whole notches.
class WheelAccumulator {
public:
    static constexpr int kUnitsPerNotch = 120;
    // More than this in one event is a forged or runaway delta; the rest is dropped.
    static constexpr int kMaxNotchesPerEvent = 10;
    // Notches completed by this movement: positive up, negative down.
    int add(int angleDelta);
    void reset() { pending_ = 0; }

private:
    int pending_ = 0;
};

// The time the menu click guard lasts after a popup menu closed.
inline constexpr int kMenuClickGuardMs = 500;

// A left click on the picture toggles play and pause, unless the click only brought the
// window to the front, dismissed a popup menu, or dragged the window.
//   press      left button down away from the border zones
//   dragged    the window started moving with the press
//   release    left button up: true when play/pause should toggle
// The menu guard lasts from the opening of a popup menu until kMenuClickGuardMs after it
// closed: the caller starts its timer on menuClosed and calls guardElapsed when it ends.
class ClickToggle {
public:
    // `activating`: the click brings the window to the front from another program (not
    // from the playlist window).
    void press(int screenX, bool activating);
    void dragged();
    // `running`: a medium is loaded and playing or paused.
    bool release(int screenX, bool running);

    void menuOpened() { guard_ = true; }
    void menuClosed() { guard_ = true; }
    void guardElapsed() { guard_ = false; }
    bool guardActive() const { return guard_; }
    bool pressed() const { return pressed_; }

private:
    bool pressed_ = false;
    bool activating_ = false;
    bool dragged_ = false;
    int pressX_ = 0;
    bool guard_ = false;
};

}  // namespace orvalis
