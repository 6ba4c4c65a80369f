#include "playlist/SchemeDialogModel.h"

#include <set>

#include "base/IniDocument.h"
#include "base/TextCodec.h"
#include "playlist/ClrFile.h"

namespace orvalis {

namespace {

constexpr const char* kClrSuffix = "clr";
constexpr const char* kClrFileName = "Orvalis.clr";
constexpr const char* kOpenTitle = "Orvalis - 색상 파일 열기";

MessageRequest exclamation(const char* title, const char* text) {
    return {title, text, MessageIcon::Exclamation, MessageButtons::Ok};
}

FileDialogRequest clrDialog(const char* filter) {
    FileDialogRequest request;
    request.fileName = kClrFileName;
    request.defaultSuffix = kClrSuffix;
    request.filter = filter;
    return request;
}

// The settings keep a scheme's colours in a section named after it, and section names
// ignore letter case: of two names that differ only so, the later is renamed "name (2)",
// "name (3)" ..., to a name that no scheme of the set has. Gives the lines "old → new".
std::string giveUniqueNames(std::vector<ColorScheme>& set) {
    std::set<std::string> taken, kept;
    for (const ColorScheme& s : set) taken.insert(foldAsciiCase(s.name));
    std::string renamed;
    for (ColorScheme& s : set) {
        if (kept.insert(foldAsciiCase(s.name)).second) continue;
        std::string name;
        for (int n = 2; name.empty() || taken.count(foldAsciiCase(name)); ++n) {
            std::string suffix = " (" + std::to_string(n) + ")";
            name = schemes::storableName(
                       text::prefixWithinUnits(s.name, schemes::kNameUnits - suffix.size())) +
                   suffix;
        }
        renamed += "\n" + s.name + " → " + name;
        s.name = name;
        taken.insert(foldAsciiCase(name));
        kept.insert(foldAsciiCase(name));
    }
    return renamed;
}

}  // namespace

SchemeDialogModel::SchemeDialogModel(SettingsStore& store, Prompter& prompter,
                                     SchemeNamePrompt& namePrompt)
    : store_(store), prompter_(prompter), namePrompt_(namePrompt) {}

void SchemeDialogModel::open() {
    schemes_ = schemes::readSet(store_);
    current_ = findName(schemes::storableName(schemes::storedName(store_, schemes::kDefaultName)));
    if (current_ < 0) current_ = findName(schemes::kDefaultName);
    slot_ = SchemeSlot::Back;
}

Colorref SchemeDialogModel::pickerColor() const {
    return hasCurrent() ? schemes_[current_].slot(slot_) : 0;
}

ColorScheme SchemeDialogModel::previewScheme() const {
    return hasCurrent() ? schemes_[current_] : ColorScheme{};
}

void SchemeDialogModel::selectScheme(int index) {
    current_ = index >= 0 && index < static_cast<int>(schemes_.size()) ? index : -1;
}

void SchemeDialogModel::selectSlot(SchemeSlot slot) {
    slot_ = slot;
}

void SchemeDialogModel::pickColor(Colorref color) {
    if (hasCurrent()) schemes_[current_].setSlot(slot_, color);
}

int SchemeDialogModel::findName(const std::string& name) const {
    const std::string folded = foldAsciiCase(name);
    for (std::size_t i = 0; i < schemes_.size(); ++i)
        if (foldAsciiCase(schemes_[i].name) == folded) return static_cast<int>(i);
    return -1;
}

// Names compare as the settings file compares section names: ASCII letters without case.
// A scheme may take its own name again (to change its letter case).
bool SchemeDialogModel::nameTaken(const std::string& name, int except) const {
    const std::string folded = foldAsciiCase(name);
    for (std::size_t i = 0; i < schemes_.size(); ++i) {
        if (static_cast<int>(i) != except && foldAsciiCase(schemes_[i].name) == folded) return true;
    }
    return false;
}

std::optional<std::string> SchemeDialogModel::askUniqueName(NameUse use) {
    const std::string description =
        use == NameUse::Copy ? schemes::kCopyDescription : schemes::kRenameDescription;
    const int self = use == NameUse::Rename ? current_ : -1;
    for (;;) {
        std::optional<std::string> typed =
            namePrompt_.askName(description, schemes_[current_].name);
        if (!typed) return std::nullopt;
        std::string name =
            schemes::storableName(text::prefixWithinUnits(*typed, schemes::kNameUnits));
        // An empty name could be neither listed nor stored: taken as a change of mind.
        if (name.empty()) return std::nullopt;
        if (!nameTaken(name, self)) return name;
        MessageRequest duplicate{"Orvalis - 이름 중복",
                                 "이미 같은 이름이 존재합니다.\n다른 이름을 사용하세요.",
                                 MessageIcon::Exclamation, MessageButtons::OkCancel};
        if (prompter_.message(duplicate) != MessageResult::Ok) return std::nullopt;
    }
}

void SchemeDialogModel::renameCurrent() {
    if (!hasCurrent()) return;
    if (auto name = askUniqueName(NameUse::Rename)) schemes_[current_].name = *name;
}

void SchemeDialogModel::copyCurrent() {
    if (!hasCurrent()) return;
    if (static_cast<int>(schemes_.size()) >= schemes::kCopyLimit) {
        prompter_.message(exclamation("Orvalis", "전체 색상표의 개수는 50개까지 입니다."));
        return;
    }
    auto name = askUniqueName(NameUse::Copy);
    if (!name) return;
    ColorScheme copy = schemes_[current_];
    copy.name = *name;
    schemes_.push_back(std::move(copy));
    current_ = static_cast<int>(schemes_.size()) - 1;
}

void SchemeDialogModel::deleteAll() {
    MessageRequest ask{"Orvalis - 전체 색상 삭제", "전체 항목을 삭제하시겠습니까?",
                       MessageIcon::Question, MessageButtons::YesNo};
    if (prompter_.message(ask) != MessageResult::Yes) return;
    schemes_.clear();
    current_ = -1;
    slot_ = SchemeSlot::Back;
}

void SchemeDialogModel::importFile() {
    std::vector<std::string> chosen = prompter_.openFiles(
        clrDialog("색상정보 파일(*.clr)|*.clr|텍스트 파일(*.txt)|*.txt|"), false);
    if (chosen.empty()) return;

    clr::ReadResult read = clr::readFile(chosen.front());
    if (read.status == clr::ReadStatus::CannotOpen) {
        prompter_.message(exclamation(kOpenTitle, "지정한 파일을 열 수 없습니다"));
        return;
    }
    // A record without a name could be neither listed nor stored under its name.
    std::vector<ColorScheme> named;
    for (ColorScheme& s : read.schemes) {
        s.name = schemes::storableName(s.name);
        if (!s.name.empty()) named.push_back(std::move(s));
    }
    if (named.empty()) {
        prompter_.message(exclamation(kOpenTitle, "적절한 색상 정보 파일이 아닙니다."));
        return;
    }
    std::string renamed = giveUniqueNames(named);
    schemes_ = std::move(named);
    current_ = 0;
    slot_ = SchemeSlot::Back;
    if (!renamed.empty())
        prompter_.message(
            exclamation("Orvalis - 이름 중복",
                        ("같은 이름의 색상표가 있어 이름을 바꾸었습니다.\n" + renamed).c_str()));
}

void SchemeDialogModel::exportFile() {
    std::optional<std::string> path = prompter_.saveFile(clrDialog("색상정보파일(*.clr)|*.clr|"));
    if (!path) return;
    if (!clr::writeFile(*path, schemes_))
        prompter_.message(
            exclamation("Orvalis - 색상 파일 저장 오류", "색상 파일을 저장할 수 없습니다."));
}

void SchemeDialogModel::accept() {
    schemes::writeSet(store_, schemes_, hasCurrent() ? schemes_[current_].name : std::string());
}

const std::array<SchemeMenuCommand, 5>& schemeMenu() {
    static const std::array<SchemeMenuCommand, 5> menu = {{
        {32828, "색상표 불러오기(&O)...", &SchemeDialogModel::importFile},
        {32829, "색상표 전체 파일로 저장(&S)...", &SchemeDialogModel::exportFile},
        {32831, "이름 바꾸기(&R)...", &SchemeDialogModel::renameCurrent},
        {32830, "다른 이름으로 복사(&A)...", &SchemeDialogModel::copyCurrent},
        {32832, "전체 항목 삭제(&D)...", &SchemeDialogModel::deleteAll},
    }};
    return menu;
}

}  // namespace orvalis
