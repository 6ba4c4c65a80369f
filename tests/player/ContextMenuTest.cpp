#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "player/ContextMenu.h"

using namespace orvalis;
using C = CommandId;

namespace {

const MenuItem& item(const std::vector<MenuItem>& menu, C id) {
    const MenuItem* m = findMenuItem(menu, commandNumber(id));
    EXPECT_NE(m, nullptr) << commandNumber(id);
    static const MenuItem missing;
    return m ? *m : missing;
}

void countCommands(const std::vector<MenuItem>& menu, std::map<int, int>& counts) {
    for (const MenuItem& m : menu) {
        if (m.kind == MenuItem::Kind::Command) ++counts[m.command];
        countCommands(m.children, counts);
    }
}

MenuState playingVideo() {
    MenuState s;
    s.loaded = true;
    s.hasVideo = true;
    s.captionsLoaded = true;
    s.captionLanguages = 2;
    s.playlistShown = true;
    s.keepAspect = true;
    s.zoomCode = 4;
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

TEST(ContextMenu, NothingLoaded) {
    MenuState s;
    s.jumps = {10, 30};
    auto menu = buildContextMenu(s);

    EXPECT_FALSE(item(menu, C::CloseFile).enabled);
    EXPECT_FALSE(item(menu, C::OpenCaptionFile).enabled);
    EXPECT_TRUE(item(menu, C::OpenFile).enabled);
    EXPECT_FALSE(item(menu, C::CaptionHide).enabled);
    EXPECT_FALSE(item(menu, C::CaptionFileView).enabled);
    EXPECT_FALSE(item(menu, C::CaptionLanguage).enabled);
    EXPECT_FALSE(item(menu, C::SaveFrame).enabled);
    // No drive: the items keep their plain labels and are disabled.
    for (C d : {C::Drive1Open, C::Drive1Close, C::Drive2Open, C::Drive2Close}) {
        EXPECT_FALSE(item(menu, d).enabled);
        EXPECT_EQ(item(menu, d).label, commandLabel(d));
    }
    EXPECT_EQ(item(menu, C::FullScreen).label, "전체화면 보기(&M)\tEnter");
    EXPECT_EQ(item(menu, C::Exit).label, "프로그램 종료(&X)\tAlt+F4/Esc");
    EXPECT_EQ(item(menu, C::JumpBack).label, "10초 뒤로 이동\tLeft");
    EXPECT_EQ(item(menu, C::JumpForward).label, "10초 앞으로 이동\tRight");
    EXPECT_EQ(item(menu, C::JumpBackLarge).label, "30초 뒤로 이동\tCtrl + Left");
    EXPECT_EQ(item(menu, C::JumpForwardLarge).label, "30초 앞으로 이동\tCtrl + Right");
    // The hide-captions item is checked when captions are switched off.
    EXPECT_FALSE(item(menu, C::CaptionHide).checked);
    EXPECT_TRUE(item(menu, C::CaptionHide).checkable);
    for (const MenuItem& m : menu) EXPECT_NE(m.label, kFilterMenuLabel);
}

TEST(ContextMenu, PlayingVideoWithCaptionsOneDriveAndFilters) {
    MenuState s = playingVideo();
    s.showCaption = false;
    s.muted = true;
    s.jumps = {10300, 60};
    auto menu = buildContextMenu(s);

    EXPECT_TRUE(item(menu, C::CloseFile).enabled);
    EXPECT_TRUE(item(menu, C::SaveFrame).enabled);
    EXPECT_TRUE(item(menu, C::CaptionLanguage).enabled);
    EXPECT_TRUE(item(menu, C::CaptionHide).checked);
    EXPECT_TRUE(item(menu, C::Mute).checked);
    EXPECT_TRUE(item(menu, C::PlaylistWindow).checked);
    EXPECT_TRUE(item(menu, C::KeepAspect).checked);
    EXPECT_TRUE(item(menu, C::KeepAspect).enabled);
    EXPECT_FALSE(item(menu, C::AlwaysOnTop).checked);
    EXPECT_TRUE(item(menu, C::Zoom15).checked);
    EXPECT_FALSE(item(menu, C::Zoom10).checked);
    EXPECT_EQ(item(menu, C::JumpBack).label, "0.3초 뒤로 이동\tLeft");
    EXPECT_EQ(item(menu, C::JumpForwardLarge).label, "60초 앞으로 이동\tCtrl + Right");

    EXPECT_EQ(item(menu, C::Drive1Open).label, "sr0: CDROM 열기(&5)\tF5");
    EXPECT_EQ(item(menu, C::Drive1Close).label, "sr0: CDROM 닫기(&6)\tF6");
    EXPECT_TRUE(item(menu, C::Drive1Open).enabled);
    EXPECT_FALSE(item(menu, C::Drive2Open).enabled);
    EXPECT_FALSE(item(menu, C::Drive2Close).enabled);

    ASSERT_GT(menu.size(), static_cast<std::size_t>(kFilterMenuPosition));
    const MenuItem& filters = menu[kFilterMenuPosition];
    EXPECT_EQ(filters.kind, MenuItem::Kind::Submenu);
    EXPECT_EQ(filters.label, kFilterMenuLabel);
    ASSERT_EQ(filters.children.size(), 3u);
    EXPECT_EQ(filters.children[0].label, "lavf (matroska) (&1)");
    EXPECT_EQ(filters.children[0].command, 4000);
    EXPECT_EQ(filters.children[1].label, "h264 && co (&2)");  // a literal ampersand
    EXPECT_TRUE(filters.children[1].enabled);
    EXPECT_EQ(filters.children[2].command, 4002);
    EXPECT_FALSE(filters.children[2].enabled);  // nothing to show for it

    // One language only: the language switch has nothing to switch to.
    s.captionLanguages = 1;
    EXPECT_FALSE(item(buildContextMenu(s), C::CaptionLanguage).enabled);

    // The caption encodings close the caption submenu: the one the file showed under the
    // automatic item, or the one chosen for it.
    s.captionEncoding = text::Encoding::Cp949;
    auto encodingsOf = [](const std::vector<MenuItem>& m) {
        auto captions = std::find_if(
            m.begin(), m.end(), [](const MenuItem& i) { return i.label == kCaptionMenuLabel; });
        EXPECT_NE(captions, m.end());
        return captions->children.back();
    };
    MenuItem encodings = encodingsOf(buildContextMenu(s));
    EXPECT_EQ(encodings.label, kCaptionEncodingMenuLabel);
    EXPECT_EQ(encodings.children[0].label, "자동 감지(&A) : CP949");
    EXPECT_TRUE(encodings.children[0].checked);
    EXPECT_EQ(captionEncodingIndexOf(encodings.children[3].command), 3);
    s.captionEncoding = text::Encoding::ShiftJis;
    s.captionEncodingChosen = true;
    encodings = encodingsOf(buildContextMenu(s));
    EXPECT_EQ(encodings.children[0].label, "자동 감지(&A)");
    for (const MenuItem& m : encodings.children)
        EXPECT_EQ(m.checked, m.label == "일본어 (Shift-JIS)") << m.label;
    s.captionsLoaded = false;
    encodings = encodingsOf(buildContextMenu(s));
    EXPECT_FALSE(encodings.children[0].enabled || encodings.children[0].checked);
}

TEST(ContextMenu, FullScreenAndMaximized) {
    MenuState s = playingVideo();
    s.fullScreen = true;
    s.drives = {"sr0", "sr1"};
    auto menu = buildContextMenu(s);
    EXPECT_EQ(item(menu, C::FullScreen).label, "일반화면 보기(&M)\tEnter/Esc");
    EXPECT_TRUE(item(menu, C::FullScreen).checked);
    EXPECT_FALSE(item(menu, C::Maximized).checked);
    EXPECT_EQ(item(menu, C::Exit).label, "프로그램 종료(&X)\tAlt+F4");
    EXPECT_FALSE(item(menu, C::KeepAspect).enabled);
    EXPECT_FALSE(item(menu, C::AspectOriginal).enabled);
    EXPECT_FALSE(item(menu, C::Aspect4x3).enabled);
    EXPECT_FALSE(item(menu, C::Aspect16x9).enabled);
    EXPECT_FALSE(item(menu, C::Zoom15).checked);  // zoom is checked in the normal view only
    EXPECT_EQ(item(menu, C::Drive2Close).label, "sr1: CDROM 닫기(&8)\tF8");
    EXPECT_TRUE(item(menu, C::Drive2Close).enabled);

    s.maximized = true;
    menu = buildContextMenu(s);
    EXPECT_FALSE(item(menu, C::FullScreen).checked);
    EXPECT_TRUE(item(menu, C::Maximized).checked);
    EXPECT_EQ(item(menu, C::FullScreen).label, "일반화면 보기(&M)\tEnter/Esc");
}

TEST(ContextMenu, HiddenMainWindowAndLongFilterTables) {
    MenuState s;
    s.mainWindowShown = false;
    for (int i = 0; i < 14; ++i) s.filters.push_back({"f" + std::to_string(i), "", true});
    auto menu = buildContextMenu(s);
    EXPECT_FALSE(item(menu, C::PlaylistWindow).enabled);
    const MenuItem& filters = menu[kFilterMenuPosition];
    ASSERT_EQ(filters.children.size(), 10u);
    EXPECT_EQ(filters.children[9].label, "f9 (&10)");
    EXPECT_EQ(filters.children[9].command, 4009);
}
