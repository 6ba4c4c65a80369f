#pragma once

#include <string>
#include <vector>

#include "ports/Commands.h"

namespace orvalis {

class SettingsStore;

// Key codes and modifier bits, numerically Qt's (Qt::Key, Qt::KeyboardModifier), so the
// window passes QKeyEvent::key() and modifiers() straight through while this map stays
// plain C++.
namespace keys {
inline constexpr int Space = 0x20;
inline constexpr int Exclam = 0x21;
inline constexpr int NumberSign = 0x23;
inline constexpr int Dollar = 0x24;
inline constexpr int Percent = 0x25;
inline constexpr int ParenLeft = 0x28;
inline constexpr int ParenRight = 0x29;
inline constexpr int Asterisk = 0x2a;
inline constexpr int Plus = 0x2b;
inline constexpr int Comma = 0x2c;
inline constexpr int Minus = 0x2d;
inline constexpr int Period = 0x2e;
inline constexpr int Slash = 0x2f;
inline constexpr int Digit0 = 0x30;  // Digit0 + n for the digit n
inline constexpr int Less = 0x3c;
inline constexpr int Equal = 0x3d;
inline constexpr int Greater = 0x3e;
inline constexpr int Question = 0x3f;
inline constexpr int At = 0x40;
inline constexpr int A = 0x41;  // A + n for the n-th letter
inline constexpr int BracketLeft = 0x5b;
inline constexpr int Backslash = 0x5c;
inline constexpr int BracketRight = 0x5d;
inline constexpr int Underscore = 0x5f;
inline constexpr int QuoteLeft = 0x60;
inline constexpr int BraceLeft = 0x7b;
inline constexpr int Bar = 0x7c;
inline constexpr int BraceRight = 0x7d;
inline constexpr int AsciiTilde = 0x7e;
inline constexpr int Escape = 0x01000000;
inline constexpr int Return = 0x01000004;
inline constexpr int Enter = 0x01000005;
inline constexpr int Insert = 0x01000006;
inline constexpr int Delete = 0x01000007;
inline constexpr int Clear = 0x0100000b;
inline constexpr int Home = 0x01000010;
inline constexpr int End = 0x01000011;
inline constexpr int Left = 0x01000012;
inline constexpr int Up = 0x01000013;
inline constexpr int Right = 0x01000014;
inline constexpr int Down = 0x01000015;
inline constexpr int PageUp = 0x01000016;
inline constexpr int PageDown = 0x01000017;
inline constexpr int Shift = 0x01000020;
inline constexpr int Control = 0x01000021;
inline constexpr int Meta = 0x01000022;
inline constexpr int Alt = 0x01000023;
inline constexpr int F1 = 0x01000030;  // F1 + n - 1 for Fn

constexpr int digit(int n) {
    return Digit0 + n;
}
constexpr int letter(char c) {
    return A + (c - 'A');
}
constexpr int fkey(int n) {
    return F1 + n - 1;
}

inline constexpr unsigned ShiftModifier = 0x02000000;
inline constexpr unsigned ControlModifier = 0x04000000;
inline constexpr unsigned AltModifier = 0x08000000;
inline constexpr unsigned MetaModifier = 0x10000000;
inline constexpr unsigned KeypadModifier = 0x20000000;
}  // namespace keys

struct KeyModifiers {
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
    bool meta = false;
    bool keypad = false;  // the key is on the numeric keypad

    static KeyModifiers fromBits(unsigned bits);
};

// What the window does with a key-down.
struct KeyAction {
    enum class Kind {
        Nothing,         // consumed, nothing happens
        Command,         // run `command`
        PassToPlaylist,  // hand the key event unchanged to the playlist window
        Default,         // leave it to the window system (Alt+key, Shift+F10 …)
    };
    Kind kind = Kind::Nothing;
    CommandId command{};

    bool operator==(const KeyAction&) const = default;
};

// The state and options the map depends on. "Esc Key" is read each time a key arrives.
struct KeyContext {
    int escKey = 0;           // Config\Custom "Esc Key": 0 minimise, 1 stop, 2 exit
    bool fullScreen = false;  // full screen or maximized

    static KeyContext read(const SettingsStore& settings, bool fullScreen);
};

// The player window's key map. Keys are named by the US layout's key caps: a shifted
// symbol counts as its key ("(" is Shift+9), and a keypad key acts as the key it stands
// for with Num Lock off (keypad 7 is Home) whatever the state of Num Lock.
KeyAction mapKey(int key, KeyModifiers modifiers, const KeyContext& context);

// A key with its modifiers, as a menu names it: "Ctrl + E", "Shift + (", "Enter".
struct KeyStroke {
    int key = 0;
    KeyModifiers modifiers;
    std::string text() const;
};

// "Ctrl + ", "Shift + ", "Alt + " for the modifiers held, in that order.
std::string modifierNames(KeyModifiers modifiers);

// The name of a key on the menus; `alone`: pressed without a modifier. Empty for a key the
// map does not name.
std::string keyName(int key, bool alone);

// The keys of the map a menu item shows for this command, in the map's order; Esc, whose
// command depends on the options and the screen mode, is not among them.
std::vector<KeyStroke> shownKeys(CommandId id);

}  // namespace orvalis
