// Adding, saving and checking: the operations of the play list that meet files, dialogs
// and message boxes.
#include <algorithm>
#include <functional>
#include <unordered_map>
#include <unordered_set>

#include "base/AtomicFile.h"
#include "base/Naming.h"
#include "base/SettingsKeys.h"
#include "base/TextCodec.h"
#include "playlist/ListFiles.h"
#include "playlist/Playlist.h"

namespace orvalis {

namespace {

// One dialog or drop adds at most this many files.
constexpr size_t kBatchLimit = 1000;

const std::string kSaveFilter =
    "M3U Playlist 파일 (*.m3u)|*.m3u|Advanced Stream Redirector (*.asx)|*.asx||";

std::string addFilesFilter() {
    std::string media(listfiles::kMediaPatterns), lists(listfiles::kListPatterns);
    return "지원되는 모든 파일|" + media + lists + "|미디어 파일|" + media + "|재생 목록 파일|" +
           lists + "|모든 파일|*.*|";
}

// The rows' paths and labels, looked up at once while many paths are added: a second
// start that hands over 100,000 files must not compare each of them with every row.
class RowIndex {
public:
    explicit RowIndex(const PlaylistModel& model) { rebuild(model); }
    void rebuild(const PlaylistModel& model) {
        paths_.clear();
        labels_.clear();
        for (int i = 0; i < model.count(); ++i) add(model.at(i), i);
    }
    void add(const PlaylistItem& item, int row) {
        paths_.try_emplace(item.path, row);
        labels_.insert(item.displayName);
    }
    int findPath(const std::string& path) const {
        auto it = paths_.find(path);
        return it == paths_.end() ? -1 : it->second;
    }
    bool hasLabel(const std::string& text) const { return labels_.count(text) != 0; }

private:
    std::unordered_map<std::string, int> paths_;  // the first row of each path
    std::unordered_set<std::string> labels_;
};

std::string withCount(const char* format, int count) {
    std::string text = format;
    text.replace(text.find("%d"), 2, std::to_string(count));
    return text;
}

bool askYesNo(Prompter& prompter, std::string title, std::string text) {
    MessageRequest ask{std::move(title), std::move(text), MessageIcon::Question,
                       MessageButtons::YesNo};
    return prompter.message(ask) == MessageResult::Yes;
}

std::string folderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {};
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

bool Playlist::loadListFile(const std::string& path, listfiles::ListFormat format) {
    listfiles::ReadResult read = listfiles::readListFile(path, format);
    const char* why = nullptr;
    if (read.status != listfiles::ReadStatus::Ok) {
        why = "\n\n위의 파일이 존재하지 않거나 열 수 없습니다.";
    } else if (read.entries.empty()) {
        // Loading it would only empty the list.
        why = "\n\n위의 목록 파일에는 재생할 항목이 없습니다.";
    }
    if (why) {
        prompter_.message({"Orvalis - 목록 파일 열기 실패", path + why, MessageIcon::Exclamation,
                           MessageButtons::Ok});
        return false;
    }
    model_.clear();
    for (auto& entry : read.entries)
        model_.append({std::move(entry.displayName), std::move(entry.path)});
    AddRecentList(path);
    return true;
}

int Playlist::AddPath(const std::string& path) {
    if (model_.findLabel(path) >= 0) return -1;
    const listfiles::PathClass what = listfiles::classifyPath(path);
    if (what.kind == listfiles::PathKind::List) return loadListFile(path, what.format) ? 1 : 0;
    if (what.kind == listfiles::PathKind::Unsupported) return 1;
    if (int row = model_.findPath(path); row >= 0) {
        model_.at(row).selected = true;
    } else {
        PlaylistItem item{listfiles::displayNameOf(path), path};
        item.selected = true;
        model_.append(std::move(item));
    }
    return 1;
}

void Playlist::SaveList() {
    if (model_.empty()) return;
    std::string path;
    for (;;) {
        std::string proposed = lastListFile().empty() ? "Playlist.m3u" : lastListFile();
        std::optional<std::string> chosen =
            prompter_.saveFile({"", "", proposed, kSaveFilter, "m3u"});
        if (!chosen || chosen->empty()) return;
        if (files_.kind(*chosen) == FileSystemView::Kind::Missing ||
            askYesNo(prompter_, "Orvalis - 중복 파일 확인",
                     "같은 이름의 파일이 존재합니다. 덮어쓸까요?")) {
            path = *chosen;
            break;
        }
    }
    bool asx = listfiles::formatOf(fileNamePart(path)) == listfiles::ListFormat::Asx;
    // Any name other than an ASX one gets M3U: an empty file under a hand-typed extension
    // would look saved and hold nothing.
    std::string contents =
        asx ? listfiles::writeAsx(model_.rows()) : listfiles::writeM3u(model_.rows());
    if (!writeFileAtomically(path, contents)) {
        prompter_.message({"Orvalis - 목록 파일 저장 오류",
                           "파일을 저장할 수 없습니다.\n\n다른 프로그램이 이 파일을 사용하고 "
                           "있거나\n\n디스크에 기록할 수 없습니다.",
                           MessageIcon::Exclamation, MessageButtons::Ok});
        return;
    }
    // The saved file is a recent list; what plays next stays as it was.
    rememberListFile(path);
}

std::optional<PlayRequest> Playlist::AddFilesDialog() {
    std::string folder = settings::get(settings_, keys::DefaultFolder);
    if (folder.empty()) folder = settings::get(settings_, keys::RecentFolder);
    std::vector<std::string> chosen =
        prompter_.openFiles({"", folder, "", addFilesFilter(), ""}, true);
    if (chosen.empty()) return std::nullopt;
    PlayRequest started;
    bool found = false;
    std::vector<std::string> fresh;
    for (const auto& path : chosen) {
        if (int row = model_.findPath(path); row >= 0) {
            started = PlayItem(row);
            found = true;
        } else if (fresh.size() < kBatchLimit) {
            fresh.push_back(path);
        }
    }
    std::sort(fresh.begin(), fresh.end());
    bool added = false;
    for (const auto& path : fresh) added = AddPath(path) != 0 || added;
    settings::put(settings_, keys::RecentFolder, folderOf(chosen.back()));
    // Lists that could not be read have had their say; nothing else happens.
    if (!found && !added) return std::nullopt;
    return started;
}

PlayRequest Playlist::DropFiles(const std::vector<std::string>& names) {
    const PlaylistModel before = model_;
    model_.clearSelection();
    if (settings::get(settings_, keys::AutoDelete) == 1) model_.clear();
    bool listLoaded = false, added = false, failed = false;
    std::vector<std::string> files;
    for (const auto& name : names) {
        // A list file dropped alone replaces the list.
        listfiles::PathClass what =
            names.size() == 1 ? listfiles::classifyPath(name) : listfiles::PathClass{};
        if (what.kind == listfiles::PathKind::List) {
            listLoaded = loadListFile(name, what.format);
            failed = !listLoaded;
            break;
        }
        if (files.size() < kBatchLimit && files_.kind(name) == FileSystemView::Kind::File)
            files.push_back(name);
    }
    std::sort(files.begin(), files.end());
    for (const auto& path : files) {
        int result = AddPath(path);
        added = result != 0 || added;
        failed = result == 0 || failed;
    }
    // Lists that could not be read, and nothing else: the drop changes nothing.
    if (failed && !added && !listLoaded) {
        model_ = before;
        return {};
    }
    model_.currentIndex = listLoaded && !model_.empty() ? 0 : model_.FirstSelected();
    return PlayItem(model_.currentIndex);
}

// The command line's names arrive absolute; a relative one is taken against the current
// folder, each name on its own.
std::string Playlist::absoluteCommandPath(const std::string& part) const {
    if (part.front() == '/' || isStreamAddress(part) ||
        (part.size() >= 3 && part[1] == ':' && (part[2] == '\\' || part[2] == '/')) ||
        part.starts_with("\\\\"))
        return part;
    std::string folder = files_.currentFolder();
    if (folder.empty()) return part;
    return folder.back() == '/' ? folder + part : folder + "/" + part;
}

PlayRequest Playlist::AddPaths(const std::vector<std::string>& paths) {
    const PlaylistModel before = model_;
    model_.clickedIndex = model_.FirstSelected();
    if (model_.clickedIndex >= 0) model_.at(model_.clickedIndex).selected = false;
    bool autoDelete = settings::get(settings_, keys::AutoDelete) == 1;
    if (autoDelete) model_.clear();
    int first = model_.count();
    bool handled = false, failed = false;
    model_.currentIndex = -1;
    RowIndex index(model_);
    for (const std::string& part : paths) {
        if (part.empty()) continue;
        std::string path = absoluteCommandPath(part);
        const listfiles::PathKind kind = listfiles::classifyPath(path).kind;
        if (int row = index.findPath(path); row >= 0) {
            if (model_.currentIndex == -1) model_.currentIndex = model_.clickedIndex = row;
            handled = true;
        } else if (kind == listfiles::PathKind::List) {
            // A list that cannot be read has said so; the old rows are not its rows.
            const int added = AddPath(path);
            index.rebuild(model_);
            if (added == 0) {
                failed = true;
                continue;
            }
            model_.currentIndex = model_.clickedIndex = 0;
            handled = true;
        } else {
            // As AddPath does: a path that is some row's label, or of a kind the player
            // does not take, adds nothing.
            if (!index.hasLabel(path) && kind != listfiles::PathKind::Unsupported) {
                PlaylistItem item{listfiles::displayNameOf(path), path};
                item.selected = true;
                index.add(item, model_.count());
                model_.append(std::move(item));
            }
            model_.currentIndex = first;
            handled = true;
        }
    }
    if (failed && !handled) {
        model_ = before;
        return {};
    }
    if (autoDelete) model_.currentIndex = 0;
    return PlayItem(model_.currentIndex);
}

void Playlist::ClearAll() {
    if (askYesNo(prompter_, "Orvalis - 전체 목록 삭제 확인", "전체 목록을 삭제할까요?"))
        model_.clear();
}

std::optional<std::string> Playlist::selectAndOffer(
    const std::function<bool(const PlaylistItem&)>& wrong, const char* noneTip, const char* title,
    const char* question) {
    int found = 0;
    for (int i = 0; i < model_.count(); ++i) {
        PlaylistItem& row = model_.at(i);
        row.selected = wrong(row);
        found += row.selected ? 1 : 0;
    }
    if (found == 0) return noneTip;
    if (askYesNo(prompter_, title, withCount(question, found))) DeleteSelected();
    return std::nullopt;
}

std::optional<std::string> Playlist::CheckPaths() {
    return selectAndOffer(
        [&](const PlaylistItem& row) {
            return files_.kind(row.path) == FileSystemView::Kind::Missing;
        },
        "모든 목록의 파일 경로가 유효합니다.", "Orvalis - 파일 경로 오류",
        "%d개의 잘못된 경로 파일이 선택되었습니다.\n잘못된 파일들을 지울까요?");
}

// The first of equal paths stays unselected; letter case makes paths different here.
std::optional<std::string> Playlist::CheckDuplicates() {
    if (model_.empty()) return std::nullopt;
    std::unordered_set<std::string_view> seen;
    return selectAndOffer([&](const PlaylistItem& row) { return !seen.insert(row.path).second; },
                          "중복된 파일이 없습니다.", "Orvalis - 중복 파일 제거",
                          "%d개의 중복된 파일이 선택되었습니다.\n중복된 파일들을 지울까요?");
}

void Playlist::ShowCount() {
    if (model_.empty()) return;
    prompter_.message({"전체 목록 개수", withCount("전체 목록수는 %d개 입니다.", model_.count()),
                       MessageIcon::Information, MessageButtons::Ok});
}

}  // namespace orvalis
