#pragma once

#include <QDialog>
#include <array>
#include <string>

#include "base/Prompter.h"
#include "base/SettingsStore.h"
#include "engine/SoundPlayer.h"
#include "ports/SettingsSheetPort.h"
#include "settings/SettingsSheetModel.h"
#include "settings/SheetPageWidget.h"

class QMenu;
class QPushButton;
class QTabWidget;

namespace orvalis {

// The modal settings dialog "환경설정": seven tabs, each a page built from its table, and
// the buttons "확인", "취소" and "기본 메뉴" (menu 168). Every value lives in the model
// until OK stores it; Cancel stores the active page only.
class SettingsSheet final : public QDialog, public SettingsSheetPort {
    Q_OBJECT
public:
    struct Services {
        SettingsStore& store;
        Prompter& prompter;
        SheetEnvironment environment;
        const DesktopAssociations* associations = nullptr;  // none: no association is touched
        std::string settingsFolder;                         // where the settings file dialogs start
        SoundPlayer* sound = nullptr;  // plays the test sound of the capture page
        ColourChooser chooseColour;    // none: Qt's colour dialog
    };

    explicit SettingsSheet(Services parts, QWidget* parent = nullptr);

    // Sheet start (every page from the store, the tab of ActivePage), then modal until OK
    // or Cancel; true for OK.
    bool run() override;
    // Sheet start without waiting: run() does this first.
    void begin();

    SettingsSheetModel& model() { return model_; }
    QTabWidget* tabs() const { return tabs_; }
    SheetPageWidget* pageWidget(int page) const;
    // Menu 168, as "기본 메뉴" pops it up.
    QMenu* defaultMenu() const { return menu_; }

    void accept() override;
    void reject() override;

private:
    void refreshPages();

    SettingsSheetModel model_;
    QTabWidget* tabs_ = nullptr;
    std::array<SheetPageWidget*, page::Count> pages_{};
    QPushButton* menuButton_ = nullptr;
    QMenu* menu_ = nullptr;
};

}  // namespace orvalis
