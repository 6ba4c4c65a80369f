#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "player/ContextMenu.h"
#include "player/Shortcuts.h"

using namespace orvalis;
using C = CommandId;

namespace {

const MenuItem& item(const std::vector<MenuItem>& menu, C id) {
    const MenuItem* m = findMenuItem(menu, commandNumber(id));
    EXPECT_NE(m, nullptr) << commandNumber(id);
    static const MenuItem missing;
    return m ? *m : missing;
}

// An item as the eye sees it: "[x]" or "[ ]" when it can be checked, "grey" when disabled.
std::string look(const MenuState& s, C id) {
    const auto menu = buildContextMenu(s);
    const MenuItem& m = item(menu, id);
    return std::string(m.checkable ? (m.checked ? "[x]" : "[ ]") : "") + (m.enabled ? "" : "grey");
}

void countCommands(const std::vector<MenuItem>& menu, std::map<int, int>& counts) {
    for (const MenuItem& m : menu) {
        if (m.kind == MenuItem::Kind::Command) ++counts[m.command];
        countCommands(m.children, counts);
    }
}

MenuState playingVideo() {
    MenuState s;
    s.loaded = s.hasVideo = s.captionsLoaded = true;
    s.captionLanguages = 2;
    s.drives = {"sr0"};
    s.filters = {{"lavf (matroska)", "demuxer", true},
                 {"h264 & co", "decoder", true},
                 {"pulse", "audio output", false}};
    return s;
}

}  // namespace

TEST(ContextMenu, HoldsEveryMenuCommandOnce) {
    std::map<int, int> counts;
    countCommands(buildContextMenu(MenuState{}), counts);
    for (const CommandInfo& c : allCommands()) {
        bool inMainMenu =
            !c.label.empty() && c.id != C::AboutSystemMenu && c.id != C::HideMainWindow;
        EXPECT_EQ(counts[commandNumber(c.id)], inMainMenu ? 1 : 0) << c.name;
    }
}

TEST(ContextMenu, CheckMarksAndGreyedItemsFollowTheState) {
    MenuState idle;
    MenuState playing = playingVideo();
    playing.showCaption = false;
    playing.muted = playing.playlistShown = playing.keepAspect = true;
    playing.zoomCode = 4;
    MenuState full = playing;
    full.fullScreen = true;
    full.drives = {"sr0", "sr1"};
    MenuState maximized = full;
    maximized.maximized = true;
    MenuState oneLanguage = playing;
    oneLanguage.captionLanguages = 1;
    oneLanguage.mainWindowShown = false;
    const struct {
        const MenuState& state;
        std::vector<std::pair<C, const char*>> items;
    } cases[] = {
        {idle,
         {{C::OpenFile, ""},
          {C::CloseFile, "grey"},
          {C::OpenCaptionFile, "grey"},
          {C::CaptionHide, "[ ]grey"},
          {C::CaptionFileView, "grey"},
          {C::CaptionLanguage, "grey"},
          {C::SaveFrame, "grey"},
          {C::Drive1Open, "grey"},
          {C::Drive2Close, "grey"},
          {C::KeepAspect, "[ ]"},
          {C::FullScreen, "[ ]"}}},
        {playing,
         {{C::CloseFile, ""},
          {C::SaveFrame, ""},
          {C::CaptionLanguage, ""},
          {C::CaptionHide, "[x]"},
          {C::Mute, "[x]"},
          {C::PlaylistWindow, "[x]"},
          {C::KeepAspect, "[x]"},
          {C::AlwaysOnTop, "[ ]"},
          {C::Zoom15, "[x]"},
          {C::Zoom10, "[ ]"},
          {C::Drive1Open, ""},
          {C::Drive2Open, "grey"}}},
        // Zoom is checked in the normal view only; aspect and keep-aspect are greyed.
        {full,
         {{C::FullScreen, "[x]"},
          {C::Maximized, "[ ]"},
          {C::KeepAspect, "[x]grey"},
          {C::AspectOriginal, "grey"},
          {C::Aspect16x9, "grey"},
          {C::Zoom15, "[ ]"},
          {C::Drive2Close, ""}}},
        {maximized, {{C::FullScreen, "[ ]"}, {C::Maximized, "[x]"}}},
        {oneLanguage, {{C::CaptionLanguage, "grey"}, {C::PlaylistWindow, "[x]grey"}}},
    };
    for (const auto& c : cases) {
        for (const auto& [id, expected] : c.items)
            EXPECT_EQ(look(c.state, id), expected) << commandNumber(id);
    }
}

// The live labels: jump steps, screen mode, drive names, and Esc beside what it runs.
TEST(ContextMenu, LiveLabels) {
    MenuState s;
    s.jumps = {10300, 60};
    auto menu = buildContextMenu(s);
    EXPECT_EQ(item(menu, C::JumpBack).label, "0.3초 뒤로 이동\tLeft");
    EXPECT_EQ(item(menu, C::JumpForwardLarge).label, "60초 앞으로 이동\tCtrl + Right");
    EXPECT_EQ(item(menu, C::Drive1Open).label, menuLabel(C::Drive1Open));  // no drive
    EXPECT_EQ(item(menu, C::FullScreen).label, "전체화면 보기(&M)\tEnter");
    EXPECT_EQ(item(menu, C::Exit).label, "프로그램 종료(&X)\tAlt+F4/Esc");
    s.escKey = 2;  // Esc exits: named once
    EXPECT_EQ(item(buildContextMenu(s), C::Exit).label, "프로그램 종료(&X)\tAlt+F4/Esc");

    s.fullScreen = true;  // where Esc returns to the normal view
    s.drives = {"sr0", "a&b"};
    menu = buildContextMenu(s);
    EXPECT_EQ(item(menu, C::FullScreen).label, "일반화면 보기(&M)\tEnter/Esc");
    EXPECT_EQ(item(menu, C::Exit).label, "프로그램 종료(&X)\tAlt+F4");
    EXPECT_EQ(item(menu, C::Drive1Close).label, "sr0: CDROM 닫기(&6)\tF6");
    EXPECT_EQ(item(menu, C::Drive2Open).label, "a&&b: CDROM 열기(&7)\tF7");
}

TEST(ContextMenu, FilterSubmenu) {
    auto menu = buildContextMenu(playingVideo());
    ASSERT_GT(menu.size(), static_cast<std::size_t>(kFilterMenuPosition));
    const MenuItem& filters = menu[kFilterMenuPosition];
    EXPECT_EQ(filters.label, kFilterMenuLabel);
    ASSERT_EQ(filters.children.size(), 3u);
    EXPECT_EQ(filters.children[0].label, "lavf (matroska) (&1)");
    EXPECT_EQ(filters.children[1].label, "h264 && co (&2)");  // a literal ampersand
    EXPECT_EQ(filters.children[2].command, 4002);
    EXPECT_FALSE(filters.children[2].enabled);  // nothing to show for it
    for (const MenuItem& m : buildContextMenu(MenuState{})) EXPECT_NE(m.label, kFilterMenuLabel);

    MenuState many;
    for (int i = 0; i < 14; ++i) many.filters.push_back({"f" + std::to_string(i), "", true});
    const MenuItem ten = buildContextMenu(many)[kFilterMenuPosition];
    ASSERT_EQ(ten.children.size(), 10u);
    EXPECT_EQ(ten.children[9].label, "f9 (&10)");
    EXPECT_EQ(ten.children[9].command, 4009);
}

// The caption encodings close the caption submenu: the one the file showed under the
// automatic item, or the one chosen for it.
TEST(ContextMenu, CaptionEncodingSubmenu) {
    MenuState s = playingVideo();
    s.captionEncoding = text::Encoding::Cp949;
    auto encodingsOf = [](const MenuState& state) {
        auto m = buildContextMenu(state);
        auto captions = std::find_if(
            m.begin(), m.end(), [](const MenuItem& i) { return i.label == kCaptionMenuLabel; });
        EXPECT_NE(captions, m.end());
        return captions->children.back();
    };
    MenuItem encodings = encodingsOf(s);
    EXPECT_EQ(encodings.label, kCaptionEncodingMenuLabel);
    EXPECT_EQ(encodings.children[0].label, "자동 감지(&A) : CP949");
    EXPECT_TRUE(encodings.children[0].checked);
    EXPECT_EQ(captionEncodingIndexOf(encodings.children[3].command), 3);
    s.captionEncoding = text::Encoding::ShiftJis;
    s.captionEncodingChosen = true;
    encodings = encodingsOf(s);
    EXPECT_EQ(encodings.children[0].label, "자동 감지(&A)");
    for (const MenuItem& m : encodings.children)
        EXPECT_EQ(m.checked, m.label == "일본어 (Shift-JIS)") << m.label;
    s.captionsLoaded = false;
    encodings = encodingsOf(s);
    EXPECT_FALSE(encodings.children[0].enabled || encodings.children[0].checked);
}
