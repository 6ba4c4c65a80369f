#include "playlist/Playlist.h"

#include <algorithm>

#include "base/SettingsKeys.h"
#include "base/TextCodec.h"
#include "playlist/ListFiles.h"
#include "playlist/SettingsIndex.h"

namespace orvalis {

Playlist::Playlist(SettingsStore& settings, Prompter& prompter, const FileSystemView& files)
    : settings_(settings), prompter_(prompter), files_(files) {}

void Playlist::load() {
    recents_.load(settings_);
    model_.justLoaded = false;

    model_.clear();
    const char* lists = sections::PlaylistLists;
    int n = settings::get(settings_, keys::ListCount);
    // A garbled count must not send the loop through billions of missing keys.
    n = std::clamp(n, 0, static_cast<int>(settings_.keys(lists).size()));
    std::string current = settings::get(settings_, keys::ListCurrent);
    bool marked = false;
    for (int i = 0; i < n; ++i) {
        std::string path(text::trimWhitespace(settings_.getString(lists, settings::indexKey(i))));
        if (path.empty()) continue;
        PlaylistItem item{listfiles::displayNameOf(path), path};
        if (!marked && path == current) item.marker = item.selected = marked = true;
        model_.append(std::move(item));
    }

    showControls = settings::get(settings_, keys::ShowControls);
    alphaPercent = settings::get(settings_, keys::PlaylistAlpha);
    if (alphaPercent < 0 || alphaPercent > 50) alphaPercent = 0;
}

void Playlist::save() {
    SettingsBatch batch(settings_);
    const char* lists = sections::PlaylistLists;
    settings::put(settings_, keys::ListCount, model_.count());
    for (int i = 0; i < model_.count(); ++i)
        settings_.putString(lists, settings::indexKey(i), model_.at(i).path);
    // With no marked row the stored current item stays as it was.
    if (int m = model_.lastMarked(); m >= 0)
        settings::put(settings_, keys::ListCurrent, model_.at(m).path);
    removeNumberedKeysFrom(settings_, lists, model_.count());
    settings::put(settings_, keys::ShowControls, showControls);
    recents_.save(settings_);
}

PlayRequest Playlist::PlayItem(int index) {
    if (!model_.valid(index)) return {};
    model_.currentIndex = index;
    model_.markOnly(index);
    std::string path = model_.at(index).path;
    // Played files may leave the list: always (Add Item 0), or when they come from an
    // optical disc that will soon be out of the drive (Add From CDROM 0).
    if (!settings::get(settings_, keys::AddItem)) {
        model_.removeAt(index);
    } else if (!settings::get(settings_, keys::AddFromCdrom) && files_.isOnOpticalDisc(path)) {
        model_.removeAt(index);
    }
    return PlayRequest::open(index, std::move(path));
}

PlayRequest Playlist::PlayEntry(int index, bool mediaLoaded) {
    if (index >= 0) return PlayItem(index);
    if (!mediaLoaded || model_.justLoaded) {
        model_.justLoaded = false;
        int marked = model_.firstMarked();
        if (marked >= 0) return PlayItem(marked);
        return model_.empty() ? PlayRequest{} : PlayItem(0);
    }
    model_.clearSelection();
    if (int marked = model_.lastMarked(); marked >= 0) model_.currentIndex = marked;
    if (model_.empty()) return PlayRequest::stop();
    if (model_.currentIndex >= model_.count()) model_.currentIndex = model_.count() - 1;
    model_.currentIndex += 1;
    if (model_.currentIndex != model_.count()) return PlayItem(model_.currentIndex);
    if (settings::get(settings_, keys::RepeatList) == 1) {
        model_.currentIndex = 0;
        return PlayItem(0);
    }
    return PlayRequest::stop();
}

PlayRequest Playlist::PlayPrevious() {
    model_.clearSelection();
    if (int marked = model_.lastMarked(); marked >= 0) model_.currentIndex = marked;
    model_.currentIndex = std::max(0, model_.currentIndex - 1);
    if (model_.empty()) return {};
    return PlayEntry(model_.currentIndex, true);
}

PlayRequest Playlist::OpenAndPlay() {
    int before = model_.count();
    std::optional<PlayRequest> started = AddFilesDialog();
    if (!started) return {};
    if (model_.count() > before) {
        if (int first = model_.FirstSelected(); first >= 0) model_.at(first).selected = false;
        return PlayItem(before);
    }
    if (!model_.empty() && model_.at(0).selected) return PlayItem(0);
    return *started;
}

PlayRequest Playlist::Shuffle(const RandomSource& random) {
    model_.shuffleRows(random);
    return PlayEntry(0, true);
}

void Playlist::rememberListFile(const std::string& path) {
    recents_.add(path);
    recents_.lastListFile = path;
}

bool Playlist::AddRecentList(const std::string& path) {
    model_.justLoaded = true;
    bool added = !recents_.contains(path);
    rememberListFile(path);
    if (!model_.empty()) {
        // Row 0 becomes the one current row.
        model_.currentIndex = 0;
        for (int i = 0; i < model_.count(); ++i) {
            model_.at(i).marker = i == 0;
            model_.at(i).focused = i == 0;
        }
        model_.at(0).selected = true;
    }
    return added;
}

PlayRequest Playlist::OpenRecent(int k) {
    std::optional<std::string> entry = recents_.newest(k);
    if (!entry || AddPath(*entry) != 1) return {};
    recents_.lastListFile = *entry;
    return PlayItem(0);
}

void Playlist::ClearRecents() {
    MessageRequest ask{"Orvalis - 전체 목록 삭제", "목록 파일 기록을 지울까요?",
                       MessageIcon::Question, MessageButtons::YesNo};
    if (prompter_.message(ask) == MessageResult::Yes) recents_.clear();
}

void Playlist::toggleShowControls() {
    showControls = !showControls;
    settings::put(settings_, keys::ShowControls, showControls);
}

int Playlist::SetTransparency(int percent, bool save) {
    if (save) {
        alphaPercent = percent;
        settings::put(settings_, keys::PlaylistAlpha, percent);
    }
    return layeredAlpha(percent);
}

int Playlist::layeredAlpha(int percent) {
    if (percent <= 0) return 255;
    return (100 - std::min(percent, 100)) * 255 / 100;
}

}  // namespace orvalis
