#include <QtCore/qnamespace.h>
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/SettingsKeys.h"
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

TEST(KeyMap, ShiftedSymbolsCountAsTheirKeys) {
    // Qt reports the symbol a shifted key types; the map is by key cap.
    KeyContext context;
    for (int symbol : {Qt::Key_ParenLeft, Qt::Key_ParenRight, Qt::Key_Exclam, Qt::Key_At,
                       Qt::Key_Percent, Qt::Key_Asterisk, Qt::Key_BraceLeft, Qt::Key_Bar,
                       Qt::Key_Less, Qt::Key_Greater, Qt::Key_Question, Qt::Key_Plus,
                       Qt::Key_Underscore, Qt::Key_AsciiTilde})
        EXPECT_EQ(mapKey(symbol, shift(), context).kind, Kind::Command) << symbol;
    EXPECT_EQ(mapKey(Qt::Key_ParenLeft, shift(), context), cmd(C::RepeatClearStart));
    EXPECT_EQ(mapKey(Qt::Key_Less, shift(), context), cmd(C::CaptionSyncLater));
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
