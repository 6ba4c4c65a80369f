#pragma once

#include <string>

#include "base/Prompter.h"
#include "base/SettingsKeys.h"
#include "base/SettingsStore.h"
#include "engine/SoundPlayer.h"
#include "settings/FileAssociations.h"
#include "settings/PageValues.h"

namespace orvalis {

// The settings sheet without its widgets: which page is shown, the pages' values, the
// "기본 메뉴" commands, and what OK and Cancel write. The store changes only at OK (and
// ActivePage at Cancel); resets and imports change the pages only.
class SettingsSheetModel {
public:
    // associations may be null (nothing is read from or written to the desktop then);
    // settingsFolder is where the settings file dialogs start.
    SettingsSheetModel(SettingsStore& store, Prompter& prompter, SheetEnvironment environment,
                       const DesktopAssociations* associations, std::string settingsFolder);

    // Sheet start: the page of Config/ActivePage, every page from the store, the
    // association boxes from the desktop.
    void open();

    int activePage() const { return activePage_; }
    void selectPage(int page);
    PageValues& values() { return values_; }
    const PageValues& values() const { return values_; }

    // Menu 168 (reset this page, reset all pages, load, save); false for other commands.
    bool runMenuCommand(int command);
    // "환경파일로 저장": asks for a file (and before replacing one), writes the pages.
    void exportSettings();
    // "환경파일 불러오기": asks for a file, fills the pages; "파일을 열 수 없습니다." and
    // nothing changed when it cannot be read.
    void importSettings();

    // The browse button of a field: a folder or file dialog that starts where the field
    // points; the choice fills the field. False when nothing was chosen.
    bool browse(int page, int field);
    // A page's own button by its id ("추가", "삭제", "▶", "전체 선택", "선택 해제"); row is
    // the selected row of the page's folder list, -1 for none. True when a value changed.
    bool pressButton(int page, int buttonId, int row = -1);
    // Where "▶" plays the sound file; none: the button plays nothing.
    void setSoundPlayer(SoundPlayer* player) { sound_ = player; }

    // OK: ActivePage and every page in one write, then the association page when it is
    // enabled. A failure of the desktop's files is told; the store is written all the same.
    void accept();
    // Cancel: ActivePage only.
    void cancel();

private:
    FileDialogRequest fileDialog(const char* title) const;
    bool addFolder(int page, int field);

    SettingsStore& store_;
    Prompter& prompter_;
    const DesktopAssociations* associations_;
    std::string settingsFolder_;
    PageValues values_;
    SoundPlayer* sound_ = nullptr;
    int activePage_ = 0;
    // The association boxes as the sheet opened with them.
    ExtensionStates shownExtensions_{};
};

}  // namespace orvalis
