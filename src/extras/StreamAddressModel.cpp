#include "extras/StreamAddressModel.h"

#include <algorithm>
#include <utility>

#include "base/AtomicFile.h"
#include "base/Naming.h"
#include "base/SettingsKeys.h"

namespace orvalis {

namespace {

constexpr const char* kProgramName = "Orvalis";
constexpr std::array<const settings::IntKey*, 2> kWidthKeys{&keys::UrlColumnWidth0,
                                                            &keys::UrlColumnWidth1};
constexpr int kMaxColumnWidth = 5000;

bool storable(const StreamEntry& e) {
    return !e.name.empty() && e.name != stream_text::kPlaceholderName && !e.url.empty();
}

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

std::string deleteEntriesQuestion(int count) {
    return "선택된 " + std::to_string(count) +
           "개의 항목을 삭제할까요?\n\n삭제된 항목은 되살릴 수 없습니다.";
}

std::vector<StreamEntry> builtInStreams() {
    return {};
}

bool isPlaceholder(const StreamEntry& entry) {
    return entry.name == stream_text::kPlaceholderName;
}

std::vector<StreamEntry> readStoredStreams(const SettingsStore& store) {
    const int count = settings::get(store, keys::UrlCount);
    if (count == 0) return builtInStreams();
    // A garbled count must not keep the dialog reading a million missing sections.
    const std::size_t n =
        std::min<std::size_t>(count < 0 ? 0 : std::size_t(count), kMaxStreamEntries);
    std::vector<StreamEntry> rows;
    for (std::size_t i = 0; i < n; ++i) {
        const std::string section = settings::urlEntrySection(static_cast<int>(i));
        StreamEntry e{settings::get(store, keys::UrlName.in(section)), {}};
        if (e.name.empty()) continue;
        e.url = settings::get(store, keys::UrlAddress.in(section));
        if (!e.url.empty()) rows.push_back(std::move(e));
    }
    return rows;
}

StreamAddressModel::StreamAddressModel(SettingsStore& store, Prompter& prompter,
                                       std::string urlFile)
    : store_(store), prompter_(prompter), urlFile_(std::move(urlFile)) {
    for (int c = 0; c < 2; ++c) {
        const settings::IntKey& key = *kWidthKeys[c];
        const int w = settings::get(store_, key);
        widths_[c] = w >= 1 && w <= kMaxColumnWidth ? w : key.def();
    }
    address_ = settings::get(store_, keys::UrlCurrent);
    rows_ = readStoredStreams(store_);
}

int StreamAddressModel::columnWidth(int column) const {
    return column == 0 || column == 1 ? widths_[std::size_t(column)] : 0;
}

void StreamAddressModel::setColumnWidth(int column, int width) {
    if ((column == 0 || column == 1) && width >= 1 && width <= kMaxColumnWidth)
        widths_[std::size_t(column)] = width;
}

void StreamAddressModel::clickRow(int row) {
    if (row >= 0 && row < int(rows_.size())) address_ = rows_[std::size_t(row)].url;
}

void StreamAddressModel::setCell(int row, int column, std::string text) {
    if (row < 0 || row >= int(rows_.size())) return;
    StreamEntry& e = rows_[std::size_t(row)];
    if (column == NameColumn) e.name = std::move(text);
    if (column == AddressColumn) e.url = std::move(text);
}

bool StreamAddressModel::addPlaceholder() {
    if (!rows_.empty() && isPlaceholder(rows_.back())) return false;
    if (rows_.size() >= kMaxStreamEntries) return false;
    rows_.push_back({stream_text::kPlaceholderName, stream_text::kPlaceholderUrl});
    return true;
}

bool StreamAddressModel::removeRows(const std::vector<int>& selected) {
    std::vector<int> rows;
    for (int r : selected)
        if (r >= 0 && r < int(rows_.size())) rows.push_back(r);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.empty()) return false;
    const MessageRequest ask{kProgramName, deleteEntriesQuestion(int(rows.size())),
                             MessageIcon::Question, MessageButtons::YesNo};
    if (prompter_.message(ask) != MessageResult::Yes) return false;
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) rows_.erase(rows_.begin() + *it);
    return true;
}

bool StreamAddressModel::loadFromFile() {
    const MessageRequest ask{kProgramName, stream_text::kLoadQuestion, MessageIcon::Question,
                             MessageButtons::YesNo};
    if (prompter_.message(ask) != MessageResult::Yes) return false;
    const FileDialogRequest dialog{"", folderOf(urlFile_), std::string(fileNamePart(urlFile_)), "",
                                   "txt"};
    const std::vector<std::string> chosen = prompter_.openFiles(dialog, false);
    if (chosen.empty()) return false;
    auto entries = readUrlFile(chosen.front());
    if (!entries) {
        prompter_.message(
            {kProgramName, stream_text::kCannotOpen, MessageIcon::Stop, MessageButtons::Ok});
        return false;
    }
    rows_ = std::move(*entries);
    return true;
}

bool StreamAddressModel::confirmOverwrite(const std::string& path) {
    if (!fileExists(path)) return true;
    const MessageRequest ask{
        "다른 이름으로 저장",
        std::string(fileNamePart(path)) + "이(가) 이미 있습니다.\n바꾸시겠습니까?",
        MessageIcon::Exclamation, MessageButtons::YesNo};
    return prompter_.message(ask) == MessageResult::Yes;
}

bool StreamAddressModel::saveToFile() {
    const FileDialogRequest dialog{"", folderOf(urlFile_), std::string(fileNamePart(urlFile_)), "",
                                   "txt"};
    const std::optional<std::string> path = prompter_.saveFile(dialog);
    if (!path || path->empty() || !confirmOverwrite(*path)) return false;
    if (!writeUrlFile(*path, rows_)) {
        prompter_.message(
            {kProgramName, stream_text::kCannotCreate, MessageIcon::Stop, MessageButtons::Ok});
        return false;
    }
    return true;
}

std::string StreamAddressModel::accept() {
    SettingsBatch batch(store_);
    settings::put(store_, keys::UrlCurrent, address_);
    store();
    return address_;
}

void StreamAddressModel::close() {
    store();
}

void StreamAddressModel::store() {
    if (stored_) return;
    stored_ = true;
    SettingsBatch batch(store_);
    for (int c = 0; c < 2; ++c)
        settings::put(store_, *kWidthKeys[std::size_t(c)], widths_[std::size_t(c)]);
    settings::put(store_, keys::UrlCount, int(rows_.size()));
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const std::string section = settings::urlEntrySection(static_cast<int>(i));
        const settings::TextKey name = keys::UrlName.in(section);
        const settings::TextKey url = keys::UrlAddress.in(section);
        if (storable(rows_[i])) {
            settings::put(store_, name, rows_[i].name);
            settings::put(store_, url, rows_[i].url);
        } else {
            // The row's index is counted but not written: an entry stored there before
            // would otherwise come back the next time the list is read.
            settings::remove(store_, name);
            settings::remove(store_, url);
        }
    }
}

}  // namespace orvalis
