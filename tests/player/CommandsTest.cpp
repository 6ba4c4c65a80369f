// The command table, its handlers and the shortcuts its menu labels show.
#include <QtCore/qnamespace.h>
#include <gtest/gtest.h>

#include <set>

#include "captions/CaptionController.h"
#include "player/Shortcuts.h"
#include "support/ControllerRig.h"

using namespace orvalis;
using C = CommandId;

namespace {

// The captions bring the handlers of their own commands; a canvas that draws nothing will do.
struct NoCanvas final : CaptionCanvas {
    TextExtent measure(std::string_view) const override { return {}; }
    void setFont(const CaptionFont&) override {}
    void present(const CaptionPicture&) override {}
};

}  // namespace

TEST(Commands, EachCommandHasOneNumberAndOneName) {
    std::set<int> numbers;
    std::set<std::string_view> names;
    for (const CommandInfo& c : allCommands()) {
        EXPECT_TRUE(numbers.insert(commandNumber(c.id)).second) << c.name;
        EXPECT_TRUE(!c.name.empty() && names.insert(c.name).second) << c.name;
        EXPECT_EQ(commandByName(c.name), c.id);
        EXPECT_EQ(commandByNumber(commandNumber(c.id)), c.id);
        // The computed submenus' numbers are no command's.
        EXPECT_FALSE(filterIndexOf(commandNumber(c.id)) ||
                     captionEncodingIndexOf(commandNumber(c.id)));
    }
    EXPECT_EQ(findCommand(static_cast<C>(12345)), nullptr);
}

// Whatever key, wheel move or wheel click arrives, in whatever state, the command it maps to
// is in the table, and every command of the table has a handler once the player is put
// together.
TEST(Commands, EveryCommandAndEveryMappedInputHasAHandler) {
    test::ControllerRig rig;
    NoCanvas canvas;
    CaptionController captions{{rig.controller, rig.controller.captionStyle(), rig.store, rig.timers,
                                canvas, rig.prompter, rig.desktop}};
    rig.controller.attachCaptions(&captions);
    for (const CommandInfo& c : allCommands())
        EXPECT_TRUE(rig.controller.commands().handles(c.id)) << c.name;
    EXPECT_FALSE(rig.controller.runCommand(static_cast<C>(12345)));

    std::set<C> reached;
    std::vector<int> keys;
    for (int k = 0x20; k < 0x7f; ++k) keys.push_back(k);
    for (int k = Qt::Key_Escape; k <= Qt::Key_F35; ++k) keys.push_back(k);
    for (const KeyContext& context :
         {KeyContext{0, false}, KeyContext{1, false}, KeyContext{2, false}, KeyContext{0, true}}) {
        for (int key : keys) {
            for (unsigned bits = 0; bits < 32; ++bits) {
                const KeyAction a = mapKey(key, KeyModifiers::fromBits(bits << 25), context);
                if (a.kind == KeyAction::Kind::Command) reached.insert(a.command);
            }
        }
    }
    for (int option = -1; option < 4; ++option) {
        for (unsigned bits = 0; bits < 16; ++bits) {
            for (bool up : {true, false}) {
                if (auto c = mapWheel(up, KeyModifiers::fromBits(bits << 25), option))
                    reached.insert(*c);
            }
        }
        if (auto c = mapWheelClick(option)) reached.insert(*c);
    }
    for (C c : reached) {
        EXPECT_NE(findCommand(c), nullptr) << commandNumber(c);
        EXPECT_TRUE(rig.controller.commands().handles(c)) << commandNumber(c);
    }
    rig.controller.attachCaptions(nullptr);
}

// The shortcut after a label's tab is made from the maps; each key or wheel move it names runs
// that very command. A symbol names its US key cap, as the map reads keys: "(" is the 9 key,
// "<" the comma key, so the symbol's own key code reaches the command too.
TEST(Shortcuts, EveryShownKeyAndWheelMoveRunsItsCommand) {
    const MouseOptions defaults;
    int shown = 0;
    for (const CommandInfo& c : allCommands()) {
        const KeyAction runs{KeyAction::Kind::Command, c.id};
        for (const KeyStroke& k : shownKeys(c.id)) {
            ++shown;
            EXPECT_EQ(mapKey(k.key, k.modifiers, {}), runs) << c.name << ": " << k.text();
            const std::string name = keyName(k.key, false);
            if (name.size() == 1) {
                EXPECT_EQ(mapKey(name[0], k.modifiers, {}), runs) << c.name << ": " << name;
            }
        }
    }
    EXPECT_GT(shown, 70);
    for (const WheelStroke& w : shownWheelStrokes()) {
        const std::optional<C> runs =
            w.kind == WheelStroke::Kind::Click
                ? mapWheelClick(defaults.wheelClick)
                : mapWheel(w.kind == WheelStroke::Kind::Up, w.modifiers, defaults.mouseWheel);
        EXPECT_EQ(runs, w.command) << w.text();
    }
}

TEST(Shortcuts, LabelsReadAsTheMenusAlwaysShowedThem) {
    const std::pair<C, const char*> labels[] = {
        {C::BrightnessUp, "밝기 증가\tCtrl + E"},
        {C::Maximized, "최대화면 보기(&R)\tCtrl + Enter"},
        {C::RepeatClearStart, "시작 구간 해제\tShift + ("},
        {C::RepeatClear, "반복 구간 해제\t8,  Ctrl + \\"},
        {C::RateHalf, "현재 속도 x 0.5배 느린 재생\tCtrl + <"},
        {C::CaptionSyncLater, "자막 싱크 0.5초 느리게\t < (,)"},
        {C::CaptionSyncReset, "자막 싱크 원래대로\t /"},
        {C::CaptionLarger, "자막 크기 확대\t+"},
        {C::PlaylistWindow, "재생목록창 보기(&L)\tF12 (휠 클릭)"},
        {C::CaptionAreaSmaller, "자막 영역 크기 감소\tAlt + WheelDown"},
        {C::BookmarkNext, "다음 북마크 위치로 이동"},  // Shift + Right is not shown
        {C::About, "Orvalis 플레이어(&A)...\tF1"},
        {C::PlayPause, ""},
    };
    for (const auto& [id, label] : labels) EXPECT_EQ(menuLabel(id), label) << commandNumber(id);
}
