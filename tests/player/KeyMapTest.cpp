#include <QtCore/qnamespace.h>
#include <gtest/gtest.h>

#include <set>

#include "app/SettingsKeys.h"
#include "player/Commands.h"
#include "player/KeyMap.h"
#include "support/TestSupport.h"

using namespace orvalis;
using C = CommandId;
using Kind = KeyAction::Kind;

namespace {

KeyAction cmd(C c) {
    return {Kind::Command, c};
}
const KeyAction kNothing{};
const KeyAction kPass{Kind::PassToPlaylist, {}};
const KeyAction kDefault{Kind::Default, {}};

KeyModifiers ctrl() {
    return KeyModifiers{.ctrl = true};
}
KeyModifiers shift() {
    return KeyModifiers{.shift = true};
}
KeyModifiers keypad() {
    return KeyModifiers{.keypad = true};
}

struct Row {
    int key;
    KeyAction ctrl, shift, plain;
};

KeyAction same(C c) {
    return cmd(c);
}

// The key map as the player documents it: Ctrl, Shift and plain for every key.
const Row kRows[] = {
    {Qt::Key_Return, cmd(C::Maximized), cmd(C::FullScreen), cmd(C::FullScreen)},
    {Qt::Key_Enter, cmd(C::Maximized), cmd(C::FullScreen), cmd(C::FullScreen)},
    {Qt::Key_Home, cmd(C::GoToStart), cmd(C::GoToRepeatStart), cmd(C::GoToStart)},
    {Qt::Key_End, same(C::GoToEnd), same(C::GoToEnd), same(C::GoToEnd)},
    {Qt::Key_PageUp, same(C::PreviousItem), same(C::PreviousItem), same(C::PreviousItem)},
    {Qt::Key_PageDown, same(C::NextItem), same(C::NextItem), same(C::NextItem)},
    {Qt::Key_1, kPass, cmd(C::FullScreenSize), cmd(C::FullScreenSize)},
    {Qt::Key_2, kPass, cmd(C::Zoom05), cmd(C::Zoom05)},
    {Qt::Key_3, kPass, cmd(C::Zoom10), cmd(C::Zoom10)},
    {Qt::Key_4, kPass, cmd(C::Zoom15), cmd(C::Zoom15)},
    {Qt::Key_5, kPass, cmd(C::Zoom20), cmd(C::Zoom20)},
    {Qt::Key_0, kPass, cmd(C::RepeatClearEnd), cmd(C::RepeatSetEnd)},
    {Qt::Key_9, cmd(C::RepeatSetStart), cmd(C::RepeatClearStart), cmd(C::RepeatSetStart)},
    {Qt::Key_8, cmd(C::RepeatClear), cmd(C::RepeatClear), cmd(C::RepeatClear)},
    {Qt::Key_6, kNothing, kNothing, kNothing},
    {Qt::Key_7, kNothing, kNothing, kNothing},
    {Qt::Key_BracketLeft, cmd(C::RepeatSetStart), cmd(C::PanScanLess), cmd(C::PanScanLess)},
    {Qt::Key_BracketRight, cmd(C::RepeatSetEnd), cmd(C::PanScanMore), cmd(C::PanScanMore)},
    {Qt::Key_Backslash, cmd(C::RepeatClear), cmd(C::PanScanNone), cmd(C::PanScanNone)},
    {Qt::Key_Insert, same(C::TransportBar), same(C::TransportBar), same(C::TransportBar)},
    {Qt::Key_Space, same(C::PlayPause), same(C::PlayPause), same(C::PlayPause)},
    {Qt::Key_Left, cmd(C::JumpBackLarge), cmd(C::BookmarkPrevious), cmd(C::JumpBack)},
    {Qt::Key_Right, cmd(C::JumpForwardLarge), cmd(C::BookmarkNext), cmd(C::JumpForward)},
    {Qt::Key_Up, cmd(C::VolumeUp), cmd(C::CaptionUp), cmd(C::VolumeUp)},
    {Qt::Key_Down, cmd(C::VolumeDown), cmd(C::CaptionDown), cmd(C::VolumeDown)},
    {Qt::Key_Clear, kNothing, cmd(C::RateNormal), kNothing},
    {Qt::Key_A, cmd(C::ContrastDown), cmd(C::CaptionSmoothing), cmd(C::CaptionSmoothing)},
    {Qt::Key_B, cmd(C::BookmarkToggle), cmd(C::BookmarkClearAll), cmd(C::BookmarkToggle)},
    {Qt::Key_C, cmd(C::SaturationUp), kNothing, kNothing},
    {Qt::Key_X, cmd(C::SaturationReset), kNothing, kNothing},
    {Qt::Key_Z, cmd(C::SaturationDown), kNothing, kNothing},
    {Qt::Key_D, cmd(C::ContrastUp), cmd(C::CaptionBorder), cmd(C::CaptionBorder)},
    {Qt::Key_E, cmd(C::BrightnessUp), kNothing, kNothing},
    {Qt::Key_W, cmd(C::BrightnessReset), kNothing, kNothing},
    {Qt::Key_Q, cmd(C::BrightnessDown), kNothing, kNothing},
    {Qt::Key_F, cmd(C::SaveFrame), kNothing, kNothing},
    {Qt::Key_G, kNothing, kNothing, kNothing},
    {Qt::Key_H, same(C::CaptionHide), same(C::CaptionHide), same(C::CaptionHide)},
    {Qt::Key_L, cmd(C::CaptionLanguage), cmd(C::CaptionTwoLanguages), kNothing},
    {Qt::Key_M, cmd(C::CaptionFileView), cmd(C::Mute), cmd(C::Mute)},
    {Qt::Key_O, same(C::KeepAspect), same(C::KeepAspect), same(C::KeepAspect)},
    {Qt::Key_P, same(C::ShutdownScheduler), same(C::ShutdownScheduler), same(C::ShutdownScheduler)},
    {Qt::Key_R, same(C::RepeatItem), same(C::RepeatItem), same(C::RepeatItem)},
    {Qt::Key_S, cmd(C::ContrastReset), kNothing, kNothing},
    {Qt::Key_T, same(C::AlwaysOnTop), same(C::AlwaysOnTop), same(C::AlwaysOnTop)},
    {Qt::Key_U, same(C::OpenUrl), same(C::OpenUrl), same(C::OpenUrl)},
    {Qt::Key_V, cmd(C::SystemVolume), kNothing, kNothing},
    {Qt::Key_F1, kNothing, kNothing, kNothing},
    {Qt::Key_F2, same(C::Settings), same(C::Settings), same(C::Settings)},
    {Qt::Key_F3, cmd(C::OpenCaptionFile), cmd(C::OpenFile), cmd(C::OpenFile)},
    {Qt::Key_F4, same(C::CloseFile), same(C::CloseFile), same(C::CloseFile)},
    {Qt::Key_F5, cmd(C::AspectOriginal), cmd(C::Drive1Open), cmd(C::Drive1Open)},
    {Qt::Key_F6, cmd(C::Aspect4x3), cmd(C::Drive1Close), cmd(C::Drive1Close)},
    {Qt::Key_F7, cmd(C::Aspect16x9), cmd(C::Drive2Open), cmd(C::Drive2Open)},
    {Qt::Key_F8, same(C::Drive2Close), same(C::Drive2Close), same(C::Drive2Close)},
    {Qt::Key_F12, same(C::PlaylistWindow), same(C::PlaylistWindow), same(C::PlaylistWindow)},
    {Qt::Key_Equal, cmd(C::CaptionLarger), cmd(C::GrowWindow), cmd(C::CaptionLarger)},
    {Qt::Key_Minus, cmd(C::CaptionSmaller), cmd(C::ShrinkWindow), cmd(C::CaptionSmaller)},
    {Qt::Key_Comma, cmd(C::RateHalf), cmd(C::CaptionSyncLater), cmd(C::CaptionSyncLater)},
    {Qt::Key_Period, cmd(C::RateDouble), cmd(C::CaptionSyncEarlier), cmd(C::CaptionSyncEarlier)},
    {Qt::Key_Slash, cmd(C::RateNormal), cmd(C::CaptionSyncReset), cmd(C::CaptionSyncReset)},
    {Qt::Key_QuoteLeft, same(C::QuickMinimise), same(C::QuickMinimise), same(C::QuickMinimise)},
    {Qt::Key_Tab, kNothing, kNothing, kNothing},
    {Qt::Key_Backspace, kNothing, kNothing, kNothing},
};

std::string describe(int key, const char* state) {
    return "key " + std::to_string(key) + " " + state;
}

}  // namespace

TEST(KeyMap, KeyCodesAndModifiersAreQtsOwn) {
    static_assert(keys::Escape == Qt::Key_Escape && keys::Return == Qt::Key_Return);
    static_assert(keys::Enter == Qt::Key_Enter && keys::Clear == Qt::Key_Clear);
    static_assert(keys::Home == Qt::Key_Home && keys::PageDown == Qt::Key_PageDown);
    static_assert(keys::Insert == Qt::Key_Insert && keys::Delete == Qt::Key_Delete);
    static_assert(keys::Alt == Qt::Key_Alt && keys::Meta == Qt::Key_Meta);
    static_assert(keys::fkey(10) == Qt::Key_F10 && keys::fkey(12) == Qt::Key_F12);
    static_assert(keys::letter('Z') == Qt::Key_Z && keys::digit(9) == Qt::Key_9);
    static_assert(keys::ParenLeft == Qt::Key_ParenLeft && keys::AsciiTilde == Qt::Key_AsciiTilde);
    static_assert(keys::Underscore == Qt::Key_Underscore && keys::Bar == Qt::Key_Bar);
    static_assert(keys::ShiftModifier == Qt::ShiftModifier);
    static_assert(keys::ControlModifier == Qt::ControlModifier);
    static_assert(keys::AltModifier == Qt::AltModifier);
    static_assert(keys::MetaModifier == Qt::MetaModifier);
    static_assert(keys::KeypadModifier == Qt::KeypadModifier);

    KeyModifiers m = KeyModifiers::fromBits(Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_TRUE(m.ctrl && m.keypad);
    EXPECT_FALSE(m.shift || m.alt || m.meta);
}

TEST(KeyMap, EveryRowWithCtrlShiftAndNeither) {
    KeyContext context;
    for (const Row& row : kRows) {
        EXPECT_EQ(mapKey(row.key, ctrl(), context), row.ctrl) << describe(row.key, "ctrl");
        EXPECT_EQ(mapKey(row.key, shift(), context), row.shift) << describe(row.key, "shift");
        EXPECT_EQ(mapKey(row.key, {}, context), row.plain) << describe(row.key, "plain");
        // Ctrl is tested before Shift.
        EXPECT_EQ(mapKey(row.key, KeyModifiers{.ctrl = true, .shift = true}, context), row.ctrl)
            << describe(row.key, "ctrl+shift");
    }
}

TEST(KeyMap, ShiftedSymbolsCountAsTheirKeys) {
    // Qt reports the symbol a shifted key types; the map is by key cap.
    KeyContext context;
    EXPECT_EQ(mapKey(Qt::Key_ParenLeft, shift(), context), cmd(C::RepeatClearStart));
    EXPECT_EQ(mapKey(Qt::Key_ParenRight, shift(), context), cmd(C::RepeatClearEnd));
    EXPECT_EQ(mapKey(Qt::Key_Exclam, shift(), context), cmd(C::FullScreenSize));
    EXPECT_EQ(mapKey(Qt::Key_At, shift(), context), cmd(C::Zoom05));
    EXPECT_EQ(mapKey(Qt::Key_Percent, shift(), context), cmd(C::Zoom20));
    EXPECT_EQ(mapKey(Qt::Key_Asterisk, shift(), context), cmd(C::RepeatClear));
    EXPECT_EQ(mapKey(Qt::Key_BraceLeft, shift(), context), cmd(C::PanScanLess));
    EXPECT_EQ(mapKey(Qt::Key_Bar, shift(), context), cmd(C::PanScanNone));
    EXPECT_EQ(mapKey(Qt::Key_Less, shift(), context), cmd(C::CaptionSyncLater));
    EXPECT_EQ(mapKey(Qt::Key_Greater, shift(), context), cmd(C::CaptionSyncEarlier));
    EXPECT_EQ(mapKey(Qt::Key_Question, shift(), context), cmd(C::CaptionSyncReset));
    EXPECT_EQ(mapKey(Qt::Key_Plus, shift(), context), cmd(C::GrowWindow));
    EXPECT_EQ(mapKey(Qt::Key_Underscore, shift(), context), cmd(C::ShrinkWindow));
    EXPECT_EQ(mapKey(Qt::Key_AsciiTilde, shift(), context), cmd(C::QuickMinimise));
    // Ctrl+Shift+0 still goes to the playlist window; Ctrl+< halves the rate.
    EXPECT_EQ(mapKey(Qt::Key_ParenRight, KeyModifiers{.ctrl = true, .shift = true}, context),
              kPass);
    EXPECT_EQ(mapKey(Qt::Key_Less, KeyModifiers{.ctrl = true, .shift = true}, context),
              cmd(C::RateHalf));
}

TEST(KeyMap, KeypadKeysActAsTheirTwinsWhateverNumLock) {
    KeyContext context;
    struct Twin {
        int keypadDigit;
        int navigation;
    };
    const Twin twins[] = {{Qt::Key_7, Qt::Key_Home},   {Qt::Key_1, Qt::Key_End},
                          {Qt::Key_9, Qt::Key_PageUp}, {Qt::Key_3, Qt::Key_PageDown},
                          {Qt::Key_0, Qt::Key_Insert}, {Qt::Key_8, Qt::Key_Up},
                          {Qt::Key_2, Qt::Key_Down},   {Qt::Key_5, Qt::Key_Clear},
                          {Qt::Key_4, Qt::Key_Left},   {Qt::Key_6, Qt::Key_Right}};
    for (const Twin& t : twins) {
        for (KeyModifiers m : {KeyModifiers{}, shift(), ctrl()}) {
            KeyModifiers pad = m;
            pad.keypad = true;
            KeyAction expected = mapKey(t.navigation, m, context);
            // Num Lock on: the digit with the keypad flag; off: the navigation key with it.
            EXPECT_EQ(mapKey(t.keypadDigit, pad, context), expected) << t.keypadDigit;
            EXPECT_EQ(mapKey(t.navigation, pad, context), expected) << t.navigation;
        }
    }
    // Ctrl with a keypad digit is not the digit: it is not handed to the playlist.
    EXPECT_EQ(mapKey(Qt::Key_5, KeyModifiers{.ctrl = true, .keypad = true}, context), kNothing);
    EXPECT_EQ(mapKey(Qt::Key_2, KeyModifiers{.ctrl = true, .keypad = true}, context),
              cmd(C::VolumeDown));
    // Keypad + and - size the caption, and with Shift the window.
    EXPECT_EQ(mapKey(Qt::Key_Plus, keypad(), context), cmd(C::CaptionLarger));
    EXPECT_EQ(mapKey(Qt::Key_Minus, keypad(), context), cmd(C::CaptionSmaller));
    EXPECT_EQ(mapKey(Qt::Key_Plus, KeyModifiers{.shift = true, .keypad = true}, context),
              cmd(C::GrowWindow));
    EXPECT_EQ(mapKey(Qt::Key_Minus, KeyModifiers{.shift = true, .keypad = true}, context),
              cmd(C::ShrinkWindow));
    // The keypad's own * and / are not the main keyboard's 8 and /.
    EXPECT_EQ(mapKey(Qt::Key_Asterisk, keypad(), context), kNothing);
    EXPECT_EQ(mapKey(Qt::Key_Slash, keypad(), context), kNothing);
    EXPECT_EQ(mapKey(Qt::Key_Enter, keypad(), context), cmd(C::FullScreen));
}

TEST(KeyMap, EscapeFollowsTheOptionAndLeavesFullScreen) {
    test::MemorySettingsStore settings;
    EXPECT_EQ(KeyContext::read(settings, false).escKey, 0);
    const std::pair<int, KeyAction> cases[] = {
        {0, cmd(C::EscapeMinimise)},
        {1, cmd(C::Stop)},
        {2, cmd(C::Exit)},
        {3, kNothing},
        {-1, kNothing},
    };
    for (const auto& [option, expected] : cases) {
        settings.putInt(sections::ConfigCustom, "Esc Key", option);
        KeyContext context = KeyContext::read(settings, false);
        for (KeyModifiers m : {KeyModifiers{}, ctrl(), shift()}) {
            EXPECT_EQ(mapKey(Qt::Key_Escape, m, context), expected) << "Esc Key " << option;
        }
        EXPECT_EQ(mapKey(Qt::Key_Escape, {}, KeyContext::read(settings, true)), cmd(C::FullScreen));
    }
}

TEST(KeyMap, SystemKeysAndModifiersAlone) {
    KeyContext context;
    const KeyModifiers alt{.alt = true};
    for (int k : {Qt::Key_Alt, Qt::Key_Shift, Qt::Key_Control, Qt::Key_Meta}) {
        EXPECT_EQ(mapKey(k, {}, context), kNothing);
    }
    EXPECT_EQ(mapKey(Qt::Key_Alt, alt, context), kNothing);
    EXPECT_EQ(mapKey(Qt::Key_F4, alt, context), cmd(C::Exit));
    EXPECT_EQ(mapKey(Qt::Key_F4, KeyModifiers{.shift = true, .alt = true}, context), cmd(C::Exit));
    EXPECT_EQ(mapKey(Qt::Key_Space, alt, context), kDefault);
    EXPECT_EQ(mapKey(Qt::Key_Return, alt, context), kDefault);
    EXPECT_EQ(mapKey(Qt::Key_Left, KeyModifiers{.meta = true}, context), kDefault);
    EXPECT_EQ(mapKey(Qt::Key_F10, {}, context), kNothing);
    EXPECT_EQ(mapKey(Qt::Key_F10, alt, context), kDefault);
    EXPECT_EQ(mapKey(Qt::Key_F10, shift(), context), kDefault);
    EXPECT_EQ(mapKey(Qt::Key_F10, ctrl(), context), kDefault);
}

TEST(Commands, TableIsConsistentAndCoversEveryMappedAction) {
    std::set<int> numbers;
    std::set<std::string_view> names;
    for (const CommandInfo& c : allCommands()) {
        EXPECT_TRUE(numbers.insert(commandNumber(c.id)).second) << commandNumber(c.id);
        EXPECT_FALSE(c.name.empty());
        EXPECT_TRUE(names.insert(c.name).second) << c.name;
        EXPECT_EQ(commandByNumber(commandNumber(c.id)), c.id);
        EXPECT_EQ(commandByName(c.name), c.id);
        EXPECT_FALSE(filterIndexOf(commandNumber(c.id)).has_value());
    }
    EXPECT_FALSE(commandByNumber(12345).has_value());
    EXPECT_EQ(findCommand(static_cast<CommandId>(12345)), nullptr);
    EXPECT_EQ(filterIndexOf(4000), 0);
    EXPECT_EQ(filterIndexOf(4009), 9);
    EXPECT_FALSE(filterIndexOf(4010).has_value());
    EXPECT_FALSE(filterIndexOf(3999).has_value());

    // Whatever key and modifiers arrive, a command the map yields is one the window knows.
    KeyContext contexts[] = {{0, false}, {1, false}, {2, false}, {0, true}};
    std::vector<int> keys;
    for (int k = 0x20; k < 0x7f; ++k) keys.push_back(k);
    for (int k = Qt::Key_Escape; k <= Qt::Key_F35; ++k) keys.push_back(k);
    for (const KeyContext& context : contexts) {
        for (int key : keys) {
            for (unsigned bits = 0; bits < 32; ++bits) {
                KeyAction a = mapKey(key, KeyModifiers::fromBits(bits << 25), context);
                if (a.kind == Kind::Command) {
                    EXPECT_NE(findCommand(a.command), nullptr) << key;
                }
            }
        }
    }
}
