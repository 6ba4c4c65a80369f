#include "player/QueuePlaylist.h"

#include "app/Prompter.h"
#include "app/SettingsKeys.h"
#include "app/SettingsStore.h"
#include "app/Startup.h"
#include "engine/MediaEngine.h"

namespace orvalis {

void QueuePlaylist::addAndPlay(const std::vector<std::string>& paths) {
    if (paths.empty()) return;
    const int first = static_cast<int>(items_.size());
    items_.insert(items_.end(), paths.begin(), paths.end());
    current_ = first;
    engine_.openFile(items_[static_cast<size_t>(current_)]);
}

void QueuePlaylist::addPathList(const std::string& list) { addAndPlay(splitCommandLineList(list)); }

void QueuePlaylist::dropFiles(const std::vector<std::string>& paths) { addAndPlay(paths); }

void QueuePlaylist::playEntry(int which) {
    if (items_.empty()) return;
    if (which == -1) {
        if (current_ + 1 >= static_cast<int>(items_.size())) {
            // The end of the list: back to the start of the last medium, stopped.
            engine_.setPosition(0.0);
            engine_.stop();
            return;
        }
        ++current_;
    } else if (which >= 0 && which < static_cast<int>(items_.size())) {
        current_ = which;
    } else if (current_ < 0) {
        current_ = 0;
    }
    engine_.openFile(items_[static_cast<size_t>(current_)]);
}

void QueuePlaylist::playPrevious() {
    if (items_.empty()) return;
    current_ = current_ > 0 ? current_ - 1 : 0;
    engine_.openFile(items_[static_cast<size_t>(current_)]);
}

void QueuePlaylist::openFilesDialog() {
    auto files = prompter_.openFiles(
        {"파일 열기", settings_.getString(sections::Config, "Recent Folder"), "",
         "미디어 파일|*.avi;*.mkv;*.mp4;*.m4v;*.mov;*.wmv;*.asf;*.mpg;*.mpeg;*.webm;*.ogv;*.flv;"
         "*.ts;*.mp3;*.wav;*.ogg;*.oga;*.flac;*.m4a;*.wma|모든 파일 (*.*)|*.*||",
         ""},
        true);
    addAndPlay(files);
}

}  // namespace orvalis
