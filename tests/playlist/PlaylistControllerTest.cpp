// The playlist window's behaviour without its widgets: keys, mouse, buttons, the menu,
// transparency, the scheme and what is kept, against a recording view and player.
#include <gtest/gtest.h>

#include "base/SettingsKeys.h"
#include "playlist/FakeFileSystem.h"
#include "playlist/PlaylistController.h"
#include "support/TestSupport.h"

using namespace orvalis;

namespace {

class RecordingView final : public PlaylistWindowView {
public:
    void rowsChanged() override { ++changes; }
    void rowsRepainted() override {}
    void showRow(int row) override { shownRows.push_back(row); }
    void setOpacity(int a) override { alpha = a; }
    bool isShown() const override { return shown; }
    void setShown(bool s) override { shown = s; }
    geometry::Rect windowRect() const override { return rect; }
    void setControlsShown(bool s, bool keep) override {
        controls = s;
        keptListHeight = keep;
    }
    void setControlButtons(const ControlButtons& b) override { buttons = b; }
    void setScheme(const ColorScheme& s) override { scheme = s; }
    bool runSchemeDialog() override {
        if (duringDialog) duringDialog();
        return dialogAnswer;
    }
    void requestSave() override { ++saveRequests; }
    void showTip(const std::string& text, int ms) override {
        tips.push_back(text + "@" + std::to_string(ms));
    }
    void setBusy(bool) override {}

    int changes = 0, saveRequests = 0, alpha = 255;
    bool shown = true, controls = false, keptListHeight = false, dialogAnswer = false;
    std::vector<int> shownRows;
    std::vector<std::string> tips;
    geometry::Rect rect{900, 100, 1100, 400};
    ControlButtons buttons;
    ColorScheme scheme;
    std::function<void()> duringDialog;
};

class PlaylistControllerTest : public ::testing::Test {
protected:
    PlaylistControllerTest() {
        host.openPath = [this](const std::string& p) { opened.push_back(p); };
        host.runCommand = [this](CommandId id) { commands.push_back(id); };
        host.mediaLoaded = [this] { return loaded; };
        host.playerShown = [this] { return playerShown; };
        host.playerInScreenMode = [this] { return screenMode; };
        host.minimizePlayer = [this] { ++minimised; };
        host.showPlayerMenu = [this] { ++playerMenus; };
        host.playerRect = [] { return geometry::Rect{400, 100, 766, 372}; };
    }
    PlaylistController& make() {
        logic = std::make_unique<PlaylistController>(settings, prompter, fs, host);
        logic->attachView(&view);
        logic->initialise();
        return *logic;
    }
    void add(std::initializer_list<std::string> paths) {
        test::addFiles(logic->playlist(), fs, paths);
    }
    std::vector<std::string> paths() const { return test::rowPaths(logic->rows()); }
    std::vector<int> selected() const {
        std::vector<int> out;
        for (int i = 0; i < logic->rows().count(); ++i)
            if (logic->rows().at(i).selected) out.push_back(i);
        return out;
    }

    test::MemorySettingsStore settings;
    test::FakePrompter prompter;
    test::FakeFileSystem fs;
    RecordingView view;
    PlaylistHost host;
    std::unique_ptr<PlaylistController> logic;
    std::vector<std::string> opened;
    std::vector<CommandId> commands;
    bool loaded = false, playerShown = true, screenMode = false;
    int minimised = 0, playerMenus = 0;
};

}  // namespace

TEST_F(PlaylistControllerTest, KeysPlayMoveDeleteOrGoToThePlayerWindow) {
    make();
    // Enter with nothing selected is the player window's full-screen toggle.
    EXPECT_FALSE(logic->key(ListKey::Enter, false));
    EXPECT_EQ(commands, std::vector<CommandId>{CommandId::FullScreen});
    add({"/v/a.avi", "/v/b.avi", "/v/c.avi"});

    // Nothing loaded: the arrows move a single selection within the list.
    EXPECT_FALSE(logic->key(ListKey::Down, false));
    EXPECT_EQ(selected(), std::vector<int>{0});
    logic->key(ListKey::Down, false);
    logic->key(ListKey::Down, false);
    logic->key(ListKey::Down, false);
    EXPECT_EQ(selected(), std::vector<int>{2});
    logic->key(ListKey::Up, false);
    EXPECT_EQ(selected(), std::vector<int>{1});
    EXPECT_EQ(view.shownRows.back(), 1);

    EXPECT_FALSE(logic->key(ListKey::Enter, false));
    EXPECT_EQ(opened, std::vector<std::string>{"/v/b.avi"});
    EXPECT_EQ(logic->rows().firstMarked(), 1);

    // A medium is loaded: the arrows and the wheel are the player's, except in a screen mode.
    EXPECT_FALSE(logic->wheelGoesToPlayer());
    loaded = true;
    EXPECT_TRUE(logic->wheelGoesToPlayer());
    screenMode = true;
    EXPECT_FALSE(logic->wheelGoesToPlayer());
    screenMode = false;
    EXPECT_TRUE(logic->key(ListKey::Up, false));
    EXPECT_TRUE(logic->key(ListKey::Down, true));
    EXPECT_EQ(selected(), std::vector<int>{1});

    // Digits: Ctrl+0 ... Ctrl+5 are the list's; 0 alone goes nowhere; 1 ... 9 are the player's.
    EXPECT_FALSE(logic->key(ListKey::Digit, false, 0));
    EXPECT_TRUE(logic->key(ListKey::Digit, false, 3));
    EXPECT_TRUE(logic->key(ListKey::Digit, true, 7));
    EXPECT_TRUE(logic->key(ListKey::Other, false));
    EXPECT_EQ(settings.getInt(sections::Playlist, "Alpha", -1), 0);
    EXPECT_FALSE(logic->key(ListKey::Digit, true, 3));
    EXPECT_EQ(view.alpha, 178);
    EXPECT_EQ(settings.getInt(sections::Playlist, "Alpha", -1), 30);
    EXPECT_FALSE(logic->key(ListKey::Digit, true, 0));
    EXPECT_EQ(view.alpha, 255);
    EXPECT_EQ(settings.getInt(sections::Playlist, "Alpha", -1), 0);

    // Delete removes the selected rows without asking.
    EXPECT_FALSE(logic->key(ListKey::Delete, false));
    EXPECT_EQ(paths(), (std::vector<std::string>{"/v/a.avi", "/v/c.avi"}));
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(PlaylistControllerTest, ClicksSelectLikeAListAndDoubleClickPlaysTheFirstSelected) {
    make();
    add({"/v/0.avi", "/v/1.avi", "/v/2.avi", "/v/3.avi", "/v/4.avi"});
    logic->click(1, false, false);
    logic->click(3, false, true);
    EXPECT_EQ(selected(), (std::vector<int>{1, 2, 3}));
    logic->click(2, true, false);
    EXPECT_EQ(selected(), (std::vector<int>{1, 3}));
    logic->click(4, true, true);  // Ctrl+Shift adds the range from the anchor
    EXPECT_EQ(selected(), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(logic->rows().clickedIndex, 1);
    // A right click keeps a selection it falls into, and replaces one it misses.
    logic->rightClick(3);
    EXPECT_EQ(selected(), (std::vector<int>{1, 2, 3, 4}));
    logic->rightClick(0);
    EXPECT_EQ(selected(), std::vector<int>{0});
    logic->click(-1, false, false);  // the empty area below the rows
    EXPECT_TRUE(selected().empty());
    logic->doubleClick();
    EXPECT_TRUE(opened.empty());
    logic->click(2, false, false);
    logic->doubleClick();
    EXPECT_EQ(opened, std::vector<std::string>{"/v/2.avi"});
}

TEST_F(PlaylistControllerTest, DraggingMovesTheSelectionOrTheRowItStartsOn) {
    make();
    add({"/a.avi", "/b.avi", "/c.avi", "/d.avi"});
    logic->click(0, false, false);
    logic->click(1, true, false);
    logic->beginDrag(1);  // on a selected row: the whole selection goes
    logic->dropRows(3);
    EXPECT_EQ(paths(), (std::vector<std::string>{"/c.avi", "/a.avi", "/b.avi", "/d.avi"}));
    logic->beginDrag(3);  // on another row: that row alone
    logic->dropRows(-1);
    EXPECT_EQ(paths().back(), "/d.avi");
    logic->dropRows(0);
    EXPECT_EQ(paths(), (std::vector<std::string>{"/d.avi", "/c.avi", "/a.avi", "/b.avi"}));
    EXPECT_GT(view.saveRequests, 0);
}

TEST_F(PlaylistControllerTest, MiddleClickAndTheHideButtonFollowThePlayerWindowsState) {
    make();
    EXPECT_EQ(logic->buttonTip(PlaylistButton::Hide), "목록창 감춤");
    logic->middleClick();
    EXPECT_EQ(commands, std::vector<CommandId>{CommandId::HideMainWindow});
    // In a screen mode the middle click is the Hide button: the list hides itself.
    screenMode = true;
    logic->middleClick();
    EXPECT_FALSE(view.shown);
    // With the player window hidden the Hide button ends the program.
    view.shown = true;
    playerShown = false;
    EXPECT_EQ(logic->buttonTip(PlaylistButton::Hide), "프로그램 종료");
    logic->button(PlaylistButton::Hide);
    EXPECT_TRUE(view.shown);
    EXPECT_EQ(commands.back(), CommandId::Exit);

    logic->button(PlaylistButton::MinimizeMain);
    logic->button(PlaylistButton::MainMenu);
    EXPECT_EQ(minimised, 1);
    EXPECT_EQ(playerMenus, 1);
}

TEST_F(PlaylistControllerTest, TheWindowIsOpaqueWhileActiveAndAroundOpeningAMedium) {
    settings.putInt(sections::Playlist, "Alpha", 20);
    make();
    EXPECT_EQ(view.alpha, 204);
    logic->activationChanged(true);
    EXPECT_EQ(view.alpha, 255);
    logic->activationChanged(false);
    EXPECT_EQ(view.alpha, 204);
    EXPECT_EQ(settings.getInt(sections::Playlist, "Alpha", -1), 20);

    // Opening makes it opaque; a medium without video gives the transparency back, one with
    // video keeps it opaque until it closes. The user's choice stays in the settings.
    logic->opaqueForOpen();
    EXPECT_EQ(view.alpha, 255);
    logic->restoreTransparency();
    EXPECT_EQ(view.alpha, 204);
    logic->opaqueForOpen();
    logic->activationChanged(true);
    logic->activationChanged(false);
    EXPECT_EQ(view.alpha, 255);
    EXPECT_EQ(settings.getInt(sections::Playlist, "Alpha", -1), 20);
    logic->opaqueForOpen();
    logic->restoreTransparency();
    EXPECT_EQ(view.alpha, 204);
    logic->opaqueForOpen();
    logic->disableButtons();  // the medium was closed
    EXPECT_EQ(view.alpha, 204);

    // The colour dialog leaves the window as it is while it is open.
    view.duringDialog = [this] {
        EXPECT_TRUE(logic->inSkinDialog());
        logic->activationChanged(true);
    };
    logic->menuCommand(playlist_cmd::ColourSchemes);
    EXPECT_EQ(view.alpha, 204);
    EXPECT_FALSE(logic->inSkinDialog());
}

TEST_F(PlaylistControllerTest, TheSchemeIsAppliedAtCreationAndAgainAfterTheDialogsOk) {
    schemes::writeFactorySet(settings);
    settings.putString(sections::PlaylistSkins, schemes::kSkinName, "Black");
    make();
    EXPECT_EQ(view.scheme.name, "Black");
    EXPECT_EQ(view.scheme.backColor, 0x000000u);

    view.duringDialog = [this] {
        settings.putString(sections::PlaylistSkins, schemes::kSkinName, "Ivory");
    };
    logic->menuCommand(playlist_cmd::ColourSchemes);  // cancelled
    EXPECT_EQ(view.scheme.name, "Black");
    view.dialogAnswer = true;
    logic->menuCommand(playlist_cmd::ColourSchemes);
    EXPECT_EQ(view.scheme.name, "Ivory");
    EXPECT_EQ(logic->scheme().backColor, 0xB4E6F5u);
}

TEST_F(PlaylistControllerTest, ThePlayerWindowContinuesStopsAndSetsTheButtons) {
    make();
    add({"/v/a.avi", "/v/b.avi"});
    logic->playEntry(-2);
    loaded = true;
    logic->playEntry(-1);
    logic->playEntry(-1);
    EXPECT_EQ(opened, (std::vector<std::string>{"/v/a.avi", "/v/b.avi"}));
    EXPECT_EQ(commands, std::vector<CommandId>{CommandId::Stop});
    logic->playPrevious();
    EXPECT_EQ(opened.back(), "/v/a.avi");

    // A list just loaded starts at its first row once; the player's open ends that.
    logic->playlist().AddRecentList("/l/list.m3u");
    logic->openRequestDone();
    logic->playEntry(-1);
    EXPECT_EQ(opened.back(), "/v/b.avi");

    logic->button(PlaylistButton::Next);
    EXPECT_EQ(commands.back(), CommandId::Stop);
    logic->button(PlaylistButton::Previous);
    EXPECT_EQ(opened.back(), "/v/a.avi");
    logic->button(PlaylistButton::Play);
    logic->button(PlaylistButton::Pause);
    EXPECT_EQ(commands[commands.size() - 2], CommandId::Play);
    EXPECT_EQ(commands.back(), CommandId::Pause);

    EXPECT_EQ(view.buttons, ControlButtons{});
    logic->showPlaying();
    EXPECT_EQ(view.buttons, (ControlButtons{true, false, true, true}));
    logic->showPaused();
    EXPECT_EQ(view.buttons, (ControlButtons{false, true, true, true}));
    logic->showStopped();
    EXPECT_EQ(view.buttons, (ControlButtons{false, false, false, true}));
    logic->disableButtons();
    EXPECT_EQ(view.buttons, ControlButtons{});
}

TEST_F(PlaylistControllerTest, ChecksAnswerWithTheTipOfThePlayerWindowWhenItHasOne) {
    make();
    logic->button(PlaylistButton::Check);  // nothing to check in an empty list
    EXPECT_TRUE(view.tips.empty());
    add({"/v/a.avi"});
    logic->checkPaths();
    EXPECT_EQ(view.tips, std::vector<std::string>{"모든 목록의 파일 경로가 유효합니다.@1500"});
    std::vector<std::string> hostTips;
    host.showTip = [&](const std::string& t, int) { hostTips.push_back(t); };
    make();
    add({"/v/a.avi"});
    logic->menuCommand(playlist_cmd::CheckDuplicates);
    EXPECT_EQ(hostTips, std::vector<std::string>{"중복된 파일이 없습니다."});
}

TEST_F(PlaylistControllerTest, TheControlRowToggleKeepsTheListHeightAndIsStored) {
    make();
    EXPECT_FALSE(view.controls);
    logic->menuCommand(playlist_cmd::ShowControls);
    EXPECT_TRUE(view.controls);
    EXPECT_TRUE(view.keptListHeight);
    EXPECT_EQ(settings.getInt(sections::ConfigPlaylist, "Show Controls", 0), 1);
    EXPECT_TRUE(logic->contextMenu()[1].checked);
    make();
    EXPECT_TRUE(view.controls);
    EXPECT_FALSE(view.keptListHeight);
}

// The list and the window's place are PlaylistWindowTest.cpp's; here what the save clears and
// the row shown at the next start.
TEST_F(PlaylistControllerTest, TheCurrentRowIsShownAgainAfterARestart) {
    make();
    add({"/v/a.avi", "/v/b.avi", "/v/c.avi"});
    logic->playEntry(1);
    EXPECT_TRUE(logic->hasUnsavedChanges());
    logic->saveState();
    EXPECT_FALSE(logic->hasUnsavedChanges());
    view = RecordingView{};
    make();
    EXPECT_EQ(view.shownRows, std::vector<int>{1});
}

TEST_F(PlaylistControllerTest, MovesSnapToThePlayerWindowWhileItIsShown) {
    make();
    const geometry::Rect screen{0, 0, 1920, 1080};
    // 10 pixels right of the player's right edge, level with its top.
    geometry::Rect proposed{776, 105, 976, 405};
    EXPECT_EQ(logic->snap(proposed, screen), (geometry::Rect{766, 100, 966, 400}));
    playerShown = false;
    EXPECT_EQ(logic->snap(proposed, screen), proposed);
}
