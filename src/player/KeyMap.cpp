#include "player/KeyMap.h"

#include <array>
#include <string>

#include "base/SettingsKeys.h"
#include "base/SettingsStore.h"

namespace orvalis {

namespace {

using C = CommandId;

// One cell of the map: a command, or one of the markers below. A shown cell is the key a
// menu item names after its tab; the others run their command unnamed.
struct Act {
    enum Kind { None, Run, Pass, Escape } kind = None;
    CommandId command{};
    bool shown = false;
};

constexpr Act run(C c) {
    return {Act::Run, c};
}
constexpr Act show(C c) {
    return {Act::Run, c, true};
}
constexpr Act kNone{};
constexpr Act kPass{Act::Pass, {}};
constexpr Act kEscape{Act::Escape, {}};

struct KeyRow {
    int key;
    Act ctrl;   // tested first
    Act shift;  // then Shift
    Act plain;
};

// The same command with any modifier, named by the key alone.
constexpr KeyRow same(int key, C c) {
    return {key, run(c), run(c), show(c)};
}
constexpr KeyRow ctrlOnly(int key, C c) {
    return {key, show(c), kNone, kNone};
}

using namespace keys;

// Alt + F4 runs Exit when no window manager took it first.
constexpr int kExitKey = fkey(4);

constexpr std::array kRows = {
    KeyRow{Return, show(C::Maximized), run(C::FullScreen), show(C::FullScreen)},
    KeyRow{keys::Escape, kEscape, kEscape, kEscape},
    KeyRow{Home, run(C::GoToStart), show(C::GoToRepeatStart), show(C::GoToStart)},
    same(End, C::GoToEnd),
    same(PageUp, C::PreviousItem),
    same(PageDown, C::NextItem),
    KeyRow{digit(1), kPass, run(C::FullScreenSize), show(C::FullScreenSize)},
    KeyRow{digit(2), kPass, run(C::Zoom05), show(C::Zoom05)},
    KeyRow{digit(3), kPass, run(C::Zoom10), show(C::Zoom10)},
    KeyRow{digit(4), kPass, run(C::Zoom15), show(C::Zoom15)},
    KeyRow{digit(5), kPass, run(C::Zoom20), show(C::Zoom20)},
    KeyRow{digit(0), kPass, show(C::RepeatClearEnd), show(C::RepeatSetEnd)},
    KeyRow{digit(9), run(C::RepeatSetStart), show(C::RepeatClearStart), show(C::RepeatSetStart)},
    same(digit(8), C::RepeatClear),
    KeyRow{BracketLeft, run(C::RepeatSetStart), run(C::PanScanLess), show(C::PanScanLess)},
    KeyRow{BracketRight, run(C::RepeatSetEnd), run(C::PanScanMore), show(C::PanScanMore)},
    KeyRow{Backslash, show(C::RepeatClear), run(C::PanScanNone), show(C::PanScanNone)},
    same(Insert, C::TransportBar),
    same(Space, C::PlayPause),
    KeyRow{Left, show(C::JumpBackLarge), run(C::BookmarkPrevious), show(C::JumpBack)},
    KeyRow{Right, show(C::JumpForwardLarge), run(C::BookmarkNext), show(C::JumpForward)},
    KeyRow{Up, run(C::VolumeUp), show(C::CaptionUp), show(C::VolumeUp)},
    KeyRow{Down, run(C::VolumeDown), show(C::CaptionDown), show(C::VolumeDown)},
    KeyRow{keys::Clear, kNone, run(C::RateNormal), kNone},
    KeyRow{letter('A'), show(C::ContrastDown), run(C::CaptionSmoothing), run(C::CaptionSmoothing)},
    KeyRow{letter('B'), run(C::BookmarkToggle), show(C::BookmarkClearAll), show(C::BookmarkToggle)},
    ctrlOnly(letter('C'), C::SaturationUp),
    ctrlOnly(letter('X'), C::SaturationReset),
    ctrlOnly(letter('Z'), C::SaturationDown),
    KeyRow{letter('D'), show(C::ContrastUp), run(C::CaptionBorder), run(C::CaptionBorder)},
    ctrlOnly(letter('E'), C::BrightnessUp),
    ctrlOnly(letter('W'), C::BrightnessReset),
    ctrlOnly(letter('Q'), C::BrightnessDown),
    ctrlOnly(letter('F'), C::SaveFrame),
    same(letter('H'), C::CaptionHide),
    // The bar's picture sliders have no other key: I (image) it is.
    same(letter('I'), C::PictureSliders),
    // Shift + L: the language key's neighbour shows two languages at once.
    KeyRow{letter('L'), show(C::CaptionLanguage), show(C::CaptionTwoLanguages), kNone},
    KeyRow{letter('M'), show(C::CaptionFileView), run(C::Mute), show(C::Mute)},
    same(letter('O'), C::KeepAspect),
    KeyRow{letter('P'), show(C::ShutdownScheduler), run(C::ShutdownScheduler),
           run(C::ShutdownScheduler)},
    same(letter('R'), C::RepeatItem),
    ctrlOnly(letter('S'), C::ContrastReset),
    same(letter('T'), C::AlwaysOnTop),
    same(letter('U'), C::OpenUrl),
    ctrlOnly(letter('V'), C::SystemVolume),
    // The about item has always named F1; the key opens it too.
    same(fkey(1), C::About),
    same(fkey(2), C::Settings),
    KeyRow{fkey(3), show(C::OpenCaptionFile), run(C::OpenFile), show(C::OpenFile)},
    same(fkey(4), C::CloseFile),
    KeyRow{fkey(5), show(C::AspectOriginal), run(C::Drive1Open), show(C::Drive1Open)},
    KeyRow{fkey(6), show(C::Aspect4x3), run(C::Drive1Close), show(C::Drive1Close)},
    KeyRow{fkey(7), show(C::Aspect16x9), run(C::Drive2Open), show(C::Drive2Open)},
    same(fkey(8), C::Drive2Close),
    same(fkey(12), C::PlaylistWindow),
    KeyRow{Equal, run(C::CaptionLarger), run(C::GrowWindow), show(C::CaptionLarger)},
    KeyRow{Minus, run(C::CaptionSmaller), run(C::ShrinkWindow), show(C::CaptionSmaller)},
    KeyRow{Comma, show(C::RateHalf), run(C::CaptionSyncLater), show(C::CaptionSyncLater)},
    KeyRow{Period, show(C::RateDouble), run(C::CaptionSyncEarlier), show(C::CaptionSyncEarlier)},
    KeyRow{Slash, show(C::RateNormal), run(C::CaptionSyncReset), show(C::CaptionSyncReset)},
    same(QuoteLeft, C::QuickMinimise),
};

// The names of keys other than letters, digits and function keys, as the menus print them.
// A symbol key is named by its shifted symbol ("(" is the 9 key); the caption sync keys,
// pressed alone, show both of theirs.
struct KeyName {
    int key;
    std::string_view name;
    std::string_view alone = {};  // pressed without a modifier, when it reads otherwise
};

constexpr KeyName kKeyNames[] = {
    {Return, "Enter"},
    {keys::Escape, "Esc"},
    {Home, "Home"},
    {End, "End"},
    {PageUp, "PageUp"},
    {PageDown, "PageDown"},
    {Insert, "Insert"},
    {Space, "Space"},
    {Left, "Left"},
    {Right, "Right"},
    {Up, "Up"},
    {Down, "Down"},
    {keys::Clear, "Clear"},
    {digit(9), "("},
    {digit(0), ")"},
    {BracketLeft, "["},
    {BracketRight, "]"},
    {Backslash, "\\"},
    {Equal, "+"},
    {Minus, "-"},
    {QuoteLeft, "`"},
    {Comma, "<", " < (,)"},
    {Period, ">", " > (.)"},
    {Slash, "/", " /"},
};

// The key whose cap carries the symbol, on the US layout.
int unshifted(int key) {
    switch (key) {
        case Exclam:
            return digit(1);
        case At:
            return digit(2);
        case NumberSign:
            return digit(3);
        case Dollar:
            return digit(4);
        case Percent:
            return digit(5);
        case Asterisk:
            return digit(8);
        case ParenLeft:
            return digit(9);
        case ParenRight:
            return digit(0);
        case BraceLeft:
            return BracketLeft;
        case BraceRight:
            return BracketRight;
        case Bar:
            return Backslash;
        case Less:
            return Comma;
        case Greater:
            return Period;
        case Question:
            return Slash;
        case AsciiTilde:
            return QuoteLeft;
        case Plus:
            return Equal;
        case Underscore:
            return Minus;
        case Enter:
            return Return;
        default:
            return key;
    }
}

// A keypad key as it reads with Num Lock off. The keypad's "*" and "/" have no use here
// (their main-keyboard twins do): -1.
int keypadTwin(int key) {
    switch (key) {
        case digit(0):
            return Insert;
        case digit(1):
            return End;
        case digit(2):
            return Down;
        case digit(3):
            return PageDown;
        case digit(4):
            return Left;
        case digit(5):
            return keys::Clear;
        case digit(6):
            return Right;
        case digit(7):
            return Home;
        case digit(8):
            return Up;
        case digit(9):
            return PageUp;
        case Period:
            return Delete;
        case Asterisk:
        case Slash:
            return -1;
        default:
            return key;
    }
}

KeyAction escapeAction(const KeyContext& context) {
    // In full screen Esc returns to the normal view, as the menu's labels promise there
    // ("Enter/Esc" beside the normal view, no Esc beside Exit).
    if (context.fullScreen) return {KeyAction::Kind::Command, C::FullScreen};
    switch (context.escKey) {
        case 0:
            return {KeyAction::Kind::Command, C::EscapeMinimise};
        case 1:
            return {KeyAction::Kind::Command, C::Stop};
        case 2:
            return {KeyAction::Kind::Command, C::Exit};
        default:
            return {};
    }
}

KeyAction resolve(const Act& act, const KeyContext& context) {
    switch (act.kind) {
        case Act::Run:
            return {KeyAction::Kind::Command, act.command};
        case Act::Pass:
            return {KeyAction::Kind::PassToPlaylist, {}};
        case Act::Escape:
            return escapeAction(context);
        case Act::None:
            break;
    }
    return {};
}

}  // namespace

KeyModifiers KeyModifiers::fromBits(unsigned bits) {
    KeyModifiers m;
    m.ctrl = bits & keys::ControlModifier;
    m.shift = bits & keys::ShiftModifier;
    m.alt = bits & keys::AltModifier;
    m.meta = bits & keys::MetaModifier;
    m.keypad = bits & keys::KeypadModifier;
    return m;
}

KeyContext KeyContext::read(const SettingsStore& settings, bool fullScreen) {
    KeyContext c;
    c.escKey = settings::get(settings, keys::EscKey);
    c.fullScreen = fullScreen;
    return c;
}

KeyAction mapKey(int key, KeyModifiers mods, const KeyContext& context) {
    // Modifier keys pressed alone, Alt among them, are consumed.
    if (key == keys::Shift || key == keys::Control || key == keys::Alt || key == keys::Meta) {
        return {};
    }
    // Keys with Alt or the desktop's Meta key belong to the window system, except Alt+F4,
    // which reaches Exit here when no window manager took it first.
    if (mods.alt || mods.meta) {
        if (key == kExitKey && mods.alt) return {KeyAction::Kind::Command, C::Exit};
        return {KeyAction::Kind::Default, {}};
    }
    if (key == keys::fkey(10)) {
        if (mods.shift || mods.ctrl) return {KeyAction::Kind::Default, {}};
        return {};
    }

    int base = mods.keypad ? keypadTwin(key) : key;
    base = unshifted(base);
    for (const KeyRow& row : kRows) {
        if (row.key != base) continue;
        if (mods.ctrl) return resolve(row.ctrl, context);
        if (mods.shift) return resolve(row.shift, context);
        return resolve(row.plain, context);
    }
    return {};
}

std::string keyName(int key, bool alone) {
    for (const KeyName& n : kKeyNames) {
        if (n.key == key) return std::string(alone && !n.alone.empty() ? n.alone : n.name);
    }
    if (key >= keys::A && key <= keys::letter('Z')) return std::string(1, char(key));
    if (key >= keys::digit(0) && key <= keys::digit(9)) return std::string(1, char(key));
    if (key >= keys::F1 && key <= keys::fkey(35)) return "F" + std::to_string(key - keys::F1 + 1);
    return {};
}

std::string modifierNames(KeyModifiers modifiers) {
    std::string out;
    if (modifiers.ctrl) out += "Ctrl + ";
    if (modifiers.shift) out += "Shift + ";
    if (modifiers.alt) out += "Alt + ";
    return out;
}

std::string KeyStroke::text() const {
    const std::string held = modifierNames(modifiers);
    return held + keyName(key, held.empty());
}

std::vector<KeyStroke> shownKeys(CommandId id) {
    std::vector<KeyStroke> out;
    for (const KeyRow& row : kRows) {
        if (row.ctrl.shown && row.ctrl.command == id) out.push_back({row.key, {.ctrl = true}});
        if (row.shift.shown && row.shift.command == id) out.push_back({row.key, {.shift = true}});
        if (row.plain.shown && row.plain.command == id) out.push_back({row.key, {}});
    }
    if (id == C::Exit) out.push_back({kExitKey, {.alt = true}});
    return out;
}

}  // namespace orvalis
