#include "settings/SettingsSheetModel.h"

#include <algorithm>

#include "base/AppPaths.h"
#include "base/AtomicFile.h"
#include "base/Naming.h"
#include "base/SettingsKeys.h"
#include "settings/SettingsFile.h"

namespace orvalis {

namespace {

constexpr const char* kSaveTitle = "다른 이름으로 저장";
constexpr const char* kOpenTitle = "열기";

}  // namespace

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
    selectPage(settings::get(store_, keys::ActivePage));
    values_.load(store_);
    if (associations_) values_.setExtensionsFromDesktop(associations_->read());
    shownExtensions_ = values_.extensions();
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

namespace {

// The folder a path stands in ("" for a bare name).
std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return {};
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

bool SettingsSheetModel::browse(int page, int field) {
    if (page < 0 || page >= page::Count) return false;
    const SheetPage& p = sheetPages()[static_cast<std::size_t>(page)];
    if (field < 0 || field >= static_cast<int>(p.fields.size())) return false;
    const PageField& f = p.fields[static_cast<std::size_t>(field)];
    const FieldValue& current = values_.value(page, field);
    std::optional<std::string> chosen;
    if (f.browse == BrowseKind::Folder) {
        chosen = prompter_.chooseFolder(f.browseTitle,
                                        current.text.empty() ? paths::homeDir() : current.text);
    } else if (f.browse == BrowseKind::File) {
        std::string folder = folderOf(current.text);
        FileDialogRequest request{f.browseTitle, folder.empty() ? paths::homeDir() : folder,
                                  std::string(fileNamePart(current.text)), f.browseFilter, ""};
        auto files = prompter_.openFiles(request, false);
        if (!files.empty()) chosen = files.front();
    }
    if (!chosen || chosen->empty()) return false;
    FieldValue v = current;
    v.text = *chosen;
    values_.set(page, field, std::move(v));
    return true;
}

bool SettingsSheetModel::addFolder(int page, int field) {
    FieldValue v = values_.value(page, field);
    const PageField& f =
        sheetPages()[static_cast<std::size_t>(page)].fields[static_cast<std::size_t>(field)];
    auto chosen =
        prompter_.chooseFolder(f.browseTitle, v.list.empty() ? paths::homeDir() : v.list.back());
    if (!chosen || chosen->empty()) return false;
    // The same folder twice would only be searched twice.
    if (std::find(v.list.begin(), v.list.end(), *chosen) != v.list.end()) return false;
    v.list.push_back(*chosen);
    values_.set(page, field, std::move(v));
    return true;
}

bool SettingsSheetModel::pressButton(int page, int buttonId, int row) {
    if (page < 0 || page >= page::Count) return false;
    const SheetPage& p = sheetPages()[static_cast<std::size_t>(page)];
    const PageButton* button = p.button(buttonId);
    if (!button || !values_.isEnabled(page, buttonId)) return false;
    const int field = p.fieldIndex(button->besideKey);
    switch (button->action) {
        case ButtonAction::AddFolder:
            return field >= 0 && addFolder(page, field);
        case ButtonAction::DeleteFolder: {
            if (field < 0) return false;
            FieldValue v = values_.value(page, field);
            if (row < 0 || row >= static_cast<int>(v.list.size())) return false;
            v.list.erase(v.list.begin() + row);
            values_.set(page, field, std::move(v));
            return true;
        }
        case ButtonAction::PlaySound:
            if (sound_ && field >= 0) sound_->play(values_.value(page, field).text);
            return false;
        case ButtonAction::CheckAll:
        case ButtonAction::ClearAll:
            values_.setAllExtensions(button->action == ButtonAction::CheckAll);
            return true;
    }
    return false;
}

void SettingsSheetModel::accept() {
    {
        SettingsBatch batch(store_);
        settings::put(store_, keys::ActivePage, activePage_);
        values_.store(store_);
    }
    if (!associations_ || !values_.associationPageEnabled()) return;
    // Only the boxes the user changed are written: a box shown clear because the types it
    // shares were not all ours must not take away the ones that were.
    AssociationOutcome outcome = associations_->apply(shownExtensions_, values_.extensions());
    if (!outcome.ok)
        prompter_.message(
            {kAssociationTitle, outcome.message, MessageIcon::Exclamation, MessageButtons::Ok});
}

void SettingsSheetModel::cancel() {
    settings::put(store_, keys::ActivePage, activePage_);
}

}  // namespace orvalis
