#include "player/KeyMap.h"

#include <array>

#include "base/SettingsKeys.h"
#include "base/SettingsStore.h"

namespace orvalis {

namespace {

using C = CommandId;

// One cell of the map: a command, or one of the markers below.
struct Act {
    enum Kind { None, Run, Pass, Escape } kind = None;
    CommandId command{};
};

constexpr Act run(C c) {
    return {Act::Run, c};
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

constexpr KeyRow same(int key, C c) {
    return {key, run(c), run(c), run(c)};
}
constexpr KeyRow ctrlOnly(int key, C c) {
    return {key, run(c), kNone, kNone};
}

using namespace keys;

constexpr std::array kRows = {
    KeyRow{Return, run(C::Maximized), run(C::FullScreen), run(C::FullScreen)},
    KeyRow{keys::Escape, kEscape, kEscape, kEscape},
    KeyRow{Home, run(C::GoToStart), run(C::GoToRepeatStart), run(C::GoToStart)},
    same(End, C::GoToEnd),
    same(PageUp, C::PreviousItem),
    same(PageDown, C::NextItem),
    KeyRow{digit(1), kPass, run(C::FullScreenSize), run(C::FullScreenSize)},
    KeyRow{digit(2), kPass, run(C::Zoom05), run(C::Zoom05)},
    KeyRow{digit(3), kPass, run(C::Zoom10), run(C::Zoom10)},
    KeyRow{digit(4), kPass, run(C::Zoom15), run(C::Zoom15)},
    KeyRow{digit(5), kPass, run(C::Zoom20), run(C::Zoom20)},
    KeyRow{digit(0), kPass, run(C::RepeatClearEnd), run(C::RepeatSetEnd)},
    KeyRow{digit(9), run(C::RepeatSetStart), run(C::RepeatClearStart), run(C::RepeatSetStart)},
    same(digit(8), C::RepeatClear),
    KeyRow{BracketLeft, run(C::RepeatSetStart), run(C::PanScanLess), run(C::PanScanLess)},
    KeyRow{BracketRight, run(C::RepeatSetEnd), run(C::PanScanMore), run(C::PanScanMore)},
    KeyRow{Backslash, run(C::RepeatClear), run(C::PanScanNone), run(C::PanScanNone)},
    same(Insert, C::TransportBar),
    same(Space, C::PlayPause),
    KeyRow{Left, run(C::JumpBackLarge), run(C::BookmarkPrevious), run(C::JumpBack)},
    KeyRow{Right, run(C::JumpForwardLarge), run(C::BookmarkNext), run(C::JumpForward)},
    KeyRow{Up, run(C::VolumeUp), run(C::CaptionUp), run(C::VolumeUp)},
    KeyRow{Down, run(C::VolumeDown), run(C::CaptionDown), run(C::VolumeDown)},
    KeyRow{keys::Clear, kNone, run(C::RateNormal), kNone},
    KeyRow{letter('A'), run(C::ContrastDown), run(C::CaptionSmoothing), run(C::CaptionSmoothing)},
    KeyRow{letter('B'), run(C::BookmarkToggle), run(C::BookmarkClearAll), run(C::BookmarkToggle)},
    ctrlOnly(letter('C'), C::SaturationUp),
    ctrlOnly(letter('X'), C::SaturationReset),
    ctrlOnly(letter('Z'), C::SaturationDown),
    KeyRow{letter('D'), run(C::ContrastUp), run(C::CaptionBorder), run(C::CaptionBorder)},
    ctrlOnly(letter('E'), C::BrightnessUp),
    ctrlOnly(letter('W'), C::BrightnessReset),
    ctrlOnly(letter('Q'), C::BrightnessDown),
    ctrlOnly(letter('F'), C::SaveFrame),
    same(letter('H'), C::CaptionHide),
    // The bar's picture sliders have no other key: I (image) it is.
    same(letter('I'), C::PictureSliders),
    // Shift + L: the language key's neighbour shows two languages at once.
    KeyRow{letter('L'), run(C::CaptionLanguage), run(C::CaptionTwoLanguages), kNone},
    KeyRow{letter('M'), run(C::CaptionFileView), run(C::Mute), run(C::Mute)},
    same(letter('O'), C::KeepAspect),
    same(letter('P'), C::ShutdownScheduler),
    same(letter('R'), C::RepeatItem),
    ctrlOnly(letter('S'), C::ContrastReset),
    same(letter('T'), C::AlwaysOnTop),
    same(letter('U'), C::OpenUrl),
    ctrlOnly(letter('V'), C::SystemVolume),
    same(fkey(2), C::Settings),
    KeyRow{fkey(3), run(C::OpenCaptionFile), run(C::OpenFile), run(C::OpenFile)},
    same(fkey(4), C::CloseFile),
    KeyRow{fkey(5), run(C::AspectOriginal), run(C::Drive1Open), run(C::Drive1Open)},
    KeyRow{fkey(6), run(C::Aspect4x3), run(C::Drive1Close), run(C::Drive1Close)},
    KeyRow{fkey(7), run(C::Aspect16x9), run(C::Drive2Open), run(C::Drive2Open)},
    same(fkey(8), C::Drive2Close),
    same(fkey(12), C::PlaylistWindow),
    KeyRow{Equal, run(C::CaptionLarger), run(C::GrowWindow), run(C::CaptionLarger)},
    KeyRow{Minus, run(C::CaptionSmaller), run(C::ShrinkWindow), run(C::CaptionSmaller)},
    KeyRow{Comma, run(C::RateHalf), run(C::CaptionSyncLater), run(C::CaptionSyncLater)},
    KeyRow{Period, run(C::RateDouble), run(C::CaptionSyncEarlier), run(C::CaptionSyncEarlier)},
    KeyRow{Slash, run(C::RateNormal), run(C::CaptionSyncReset), run(C::CaptionSyncReset)},
    same(QuoteLeft, C::QuickMinimise),
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
        if (key == keys::fkey(4) && mods.alt) return {KeyAction::Kind::Command, C::Exit};
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

}  // namespace orvalis
