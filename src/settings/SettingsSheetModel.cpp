#include "settings/SettingsSheetModel.h"

#include "app/AtomicFile.h"
#include "app/Naming.h"
#include "app/SettingsKeys.h"
#include "settings/SettingsFile.h"

namespace orvalis {

namespace {

constexpr const char* kActivePage = "ActivePage";
constexpr const char* kSaveTitle = "다른 이름으로 저장";
constexpr const char* kOpenTitle = "열기";

}  // namespace

void writeLiveValues(SettingsStore& store, const PlayerLiveValues& live) {
    SettingsBatch batch(store);
    store.putInt(sections::Caption, "FontSize", live.fontSize);
    store.putInt(sections::Caption, "FontOffset", live.fontOffset);
    store.putInt(sections::Caption, "FontBold", live.fontBold);
    store.putInt(sections::Caption, "FontAlias", live.fontAlias);
    store.putInt(sections::Caption, "FontBorder", live.fontBorder);
    store.putInt(sections::Caption, "Caption Synch", live.captionSynch);
    store.putInt(sections::Caption, "Caption Space", live.captionSpace);
    store.putInt(sections::Config, "Show Frame Number", live.showFrameNumber);
    store.putInt(sections::ConfigCustom, "Back Mode", live.backMode);
    store.putString(sections::ConfigCustom, "Back Image", live.backImage);
}

SettingsSheetModel::SettingsSheetModel(SettingsStore& store, Prompter& prompter,
                                       SheetEnvironment environment,
                                       const DesktopAssociations* associations,
                                       std::string settingsFolder)
    : store_(store),
      prompter_(prompter),
      associations_(associations),
      settingsFolder_(std::move(settingsFolder)),
      values_(std::move(environment)) {}

void SettingsSheetModel::open() {
    selectPage(store_.getInt(sections::Config, kActivePage, 0));
    values_.load(store_);
    if (associations_) values_.setExtensionsFromDesktop(associations_->read());
}

void SettingsSheetModel::selectPage(int page) {
    // A page number the sheet does not have (a garbled store) shows the first page.
    activePage_ = page >= 0 && page < page::Count ? page : 0;
}

bool SettingsSheetModel::runMenuCommand(int command) {
    switch (command) {
        case sheet::kResetPageCommand:
            values_.resetPage(activePage_);
            return true;
        case sheet::kResetAllCommand:
            values_.resetAll();
            return true;
        case sheet::kLoadFileCommand:
            importSettings();
            return true;
        case sheet::kSaveFileCommand:
            exportSettings();
            return true;
        default:
            return false;
    }
}

FileDialogRequest SettingsSheetModel::fileDialog(const char* title) const {
    return {title, settingsFolder_, kSettingsFileName, kSettingsFileFilter, kSettingsFileSuffix};
}

void SettingsSheetModel::exportSettings() {
    for (;;) {
        auto chosen = prompter_.saveFile(fileDialog(kSaveTitle));
        if (!chosen || chosen->empty()) return;
        if (fileExists(*chosen)) {
            MessageRequest ask{
                kSaveTitle,
                std::string(fileNamePart(*chosen)) + "이(가) 이미 있습니다.\n바꾸시겠습니까?",
                MessageIcon::Exclamation, MessageButtons::YesNo};
            if (prompter_.message(ask) != MessageResult::Yes) continue;  // back to the dialog
        }
        // Writing silently failing would leave the user thinking the file was saved.
        if (exportSettingsFile(values_, *chosen) != SettingsFileResult::Done)
            prompter_.message({"Orvalis - 환경 파일 저장 실패", "파일을 저장할 수 없습니다.",
                               MessageIcon::Exclamation, MessageButtons::Ok});
        return;
    }
}

void SettingsSheetModel::importSettings() {
    auto chosen = prompter_.openFiles(fileDialog(kOpenTitle), false);
    if (chosen.empty() || chosen.front().empty()) return;
    if (importSettingsFile(values_, chosen.front()) != SettingsFileResult::Done)
        prompter_.message({"Orvalis - 환경 파일 열기 실패", "파일을 열 수 없습니다.",
                           MessageIcon::Exclamation, MessageButtons::Ok});
}

void SettingsSheetModel::accept() {
    {
        SettingsBatch batch(store_);
        store_.putInt(sections::Config, kActivePage, activePage_);
        values_.store(store_);
    }
    if (!associations_ || !values_.associationPageEnabled()) return;
    AssociationOutcome outcome = associations_->apply(values_.extensions());
    if (!outcome.ok)
        prompter_.message(
            {kAssociationTitle, outcome.message, MessageIcon::Exclamation, MessageButtons::Ok});
}

void SettingsSheetModel::cancel() {
    store_.putInt(sections::Config, kActivePage, activePage_);
}

}  // namespace orvalis
