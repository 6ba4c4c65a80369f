#include <QtCore/qnamespace.h>
#include <gtest/gtest.h>

#include "base/SettingsKeys.h"
#include "player/KeyMap.h"
#include "ports/Commands.h"
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
const KeyModifiers kCtrl{.ctrl = true}, kShift{.shift = true}, kAlt{.alt = true};
const KeyModifiers kPad{.keypad = true};

}  // namespace

// The window hands Qt's key codes and modifier bits straight to the map.
TEST(KeyMap, KeyCodesAndModifiersAreQtsOwn) {
    // The key codes are checked by the map's own cases, which name Qt's.
    static_assert(keys::ShiftModifier == Qt::ShiftModifier &&
                  keys::ControlModifier == Qt::ControlModifier &&
                  keys::AltModifier == Qt::AltModifier && keys::MetaModifier == Qt::MetaModifier &&
                  keys::KeypadModifier == Qt::KeypadModifier);
    KeyModifiers m = KeyModifiers::fromBits(Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_TRUE(m.ctrl && m.keypad);
    EXPECT_FALSE(m.shift || m.alt || m.meta);
}

TEST(KeyMap, ShiftedSymbolsCountAsTheirKeys) {
    // Qt reports the symbol a shifted key types; the map is by key cap.
    for (int symbol :
         {Qt::Key_ParenLeft, Qt::Key_ParenRight, Qt::Key_Exclam, Qt::Key_At, Qt::Key_Percent,
          Qt::Key_Asterisk, Qt::Key_BraceLeft, Qt::Key_Bar, Qt::Key_Less, Qt::Key_Greater,
          Qt::Key_Question, Qt::Key_Plus, Qt::Key_Underscore, Qt::Key_AsciiTilde})
        EXPECT_EQ(mapKey(symbol, kShift, {}).kind, Kind::Command) << symbol;
    EXPECT_EQ(mapKey(Qt::Key_ParenLeft, kShift, {}), cmd(C::RepeatClearStart));
    EXPECT_EQ(mapKey(Qt::Key_Less, kShift, {}), cmd(C::CaptionSyncLater));
    // Ctrl+Shift+0 still goes to the playlist window; Ctrl+< halves the rate.
    EXPECT_EQ(mapKey(Qt::Key_ParenRight, KeyModifiers{.ctrl = true, .shift = true}, {}), kPass);
    EXPECT_EQ(mapKey(Qt::Key_Less, KeyModifiers{.ctrl = true, .shift = true}, {}),
              cmd(C::RateHalf));
}

TEST(KeyMap, KeypadKeysActAsTheirTwinsWhateverNumLock) {
    const std::pair<int, int> twins[] = {{Qt::Key_7, Qt::Key_Home},   {Qt::Key_1, Qt::Key_End},
                                         {Qt::Key_9, Qt::Key_PageUp}, {Qt::Key_3, Qt::Key_PageDown},
                                         {Qt::Key_0, Qt::Key_Insert}, {Qt::Key_8, Qt::Key_Up},
                                         {Qt::Key_2, Qt::Key_Down},   {Qt::Key_5, Qt::Key_Clear},
                                         {Qt::Key_4, Qt::Key_Left},   {Qt::Key_6, Qt::Key_Right}};
    for (const auto& [digit, navigation] : twins) {
        for (KeyModifiers m : {KeyModifiers{}, kShift, kCtrl}) {
            KeyModifiers pad = m;
            pad.keypad = true;
            // Num Lock on: the digit with the keypad flag; off: the navigation key with it.
            EXPECT_EQ(mapKey(digit, pad, {}), mapKey(navigation, m, {})) << digit;
            EXPECT_EQ(mapKey(navigation, pad, {}), mapKey(navigation, m, {})) << navigation;
        }
    }
    // Ctrl with a keypad digit is not the digit: it is not handed to the playlist.
    EXPECT_EQ(mapKey(Qt::Key_5, KeyModifiers{.ctrl = true, .keypad = true}, {}), kNothing);
    // Keypad + and - size the caption, and with Shift the window.
    EXPECT_EQ(mapKey(Qt::Key_Plus, kPad, {}), cmd(C::CaptionLarger));
    EXPECT_EQ(mapKey(Qt::Key_Minus, KeyModifiers{.shift = true, .keypad = true}, {}),
              cmd(C::ShrinkWindow));
    // The keypad's own * and / are not the main keyboard's 8 and /.
    EXPECT_EQ(mapKey(Qt::Key_Asterisk, kPad, {}), kNothing);
    EXPECT_EQ(mapKey(Qt::Key_Slash, kPad, {}), kNothing);
    EXPECT_EQ(mapKey(Qt::Key_Enter, kPad, {}), cmd(C::FullScreen));
}

TEST(KeyMap, EscapeFollowsTheOptionAndLeavesFullScreen) {
    test::MemorySettingsStore settings;
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
        for (KeyModifiers m : {KeyModifiers{}, kCtrl, kShift})
            EXPECT_EQ(mapKey(Qt::Key_Escape, m, context), expected) << "Esc Key " << option;
        EXPECT_EQ(mapKey(Qt::Key_Escape, {}, KeyContext::read(settings, true)), cmd(C::FullScreen));
    }
}

TEST(KeyMap, SystemKeysAndModifiersAlone) {
    for (int k : {Qt::Key_Alt, Qt::Key_Shift, Qt::Key_Control, Qt::Key_Meta})
        EXPECT_EQ(mapKey(k, kAlt, {}), kNothing);
    EXPECT_EQ(mapKey(Qt::Key_F4, KeyModifiers{.shift = true, .alt = true}, {}), cmd(C::Exit));
    EXPECT_EQ(mapKey(Qt::Key_Space, kAlt, {}), kDefault);
    EXPECT_EQ(mapKey(Qt::Key_Left, KeyModifiers{.meta = true}, {}), kDefault);
    EXPECT_EQ(mapKey(Qt::Key_F10, {}, {}), kNothing);
    EXPECT_EQ(mapKey(Qt::Key_F10, kAlt, {}), kDefault);
    EXPECT_EQ(mapKey(Qt::Key_F10, kShift, {}), kDefault);
    EXPECT_EQ(mapKey(Qt::Key_F10, kCtrl, {}), kDefault);
}
