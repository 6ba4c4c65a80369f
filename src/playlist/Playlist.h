#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/Prompter.h"
#include "base/SettingsStore.h"
#include "playlist/FileSystemView.h"
#include "playlist/ListFiles.h"
#include "playlist/PlaylistModel.h"
#include "playlist/RecentLists.h"

namespace orvalis {

// What the player window is asked to do once a playlist operation has run. The playlist
// decides; the window opens or stops.
struct PlayRequest {
    enum class Kind { Nothing, Open, Stop };
    Kind kind = Kind::Nothing;
    int row = -1;      // the row that was started (it may be gone already: Add Item 0, a CD)
    std::string path;  // what to open

    static PlayRequest open(int row, std::string path) {
        return {Kind::Open, row, std::move(path)};
    }
    static PlayRequest stop() { return {Kind::Stop, -1, {}}; }
    bool opens() const { return kind == Kind::Open; }
    bool stops() const { return kind == Kind::Stop; }
};

// How long a check's answer stays on the player window's tip at the cursor.
inline constexpr int kPlaylistTipMilliseconds = 1500;

// The play list and everything done to it: starting rows, list files, the editing
// operations, the recent list files and what is kept across runs. Message boxes and file
// dialogs go through the Prompter; the file system through a FileSystemView. Nothing here
// opens a medium: operations that start a row return the PlayRequest for the player window.
class Playlist {
public:
    Playlist(SettingsStore& settings, Prompter& prompter, const FileSystemView& files);

    PlaylistModel& model() { return model_; }
    const PlaylistModel& model() const { return model_; }
    const RecentLists& recents() const { return recents_; }

    // The list, the current item, the recent list files and the window's switches, from
    // the settings (load) and back in one write (save).
    void load();
    void save();

    // Starting rows.
    PlayRequest PlayItem(int index);
    // index >= 0 starts that row. A negative index continues: the marked row when nothing
    // is loaded or a list was just loaded, else the next row, and at the end of the list
    // row 0 (Repeat List) or a stop.
    PlayRequest PlayEntry(int index, bool mediaLoaded);
    PlayRequest PlayPrevious();
    PlayRequest OpenAndPlay();
    // The player window opened a file: a continue advances again.
    void fileOpened() { model_.justLoaded = false; }

    // List files. AddPath: 1 handled, 0 a list file that could not be read (the list is
    // untouched), -1 a row already labelled with this very text.
    int AddPath(const std::string& path);
    void SaveList();

    // Editing.
    // Nothing when the dialog was cancelled or every file chosen was a list that could not
    // be read; otherwise what it started.
    std::optional<PlayRequest> AddFilesDialog();
    PlayRequest DropFiles(const std::vector<std::string>& names);
    // The paths of a start or a second start, each one whole: adds them and starts the
    // first one added (or the first that was listed already).
    PlayRequest AddPaths(const std::vector<std::string>& paths);
    void DeleteSelected() { model_.DeleteSelected(); }
    void ClearAll();
    void SortByName() { model_.SortByName(); }
    PlayRequest Shuffle(const RandomSource& random);
    // The checks answer with a tip text when there is nothing to delete.
    std::optional<std::string> CheckPaths();
    std::optional<std::string> CheckDuplicates();
    void ShowCount();

    // Recent list files.
    bool AddRecentList(const std::string& path);
    PlayRequest OpenRecent(int k);
    void ClearRecents();
    const std::string& lastListFile() const { return recents_.lastListFile; }

    // Window switches.
    bool showControls = false;
    int alphaPercent = 0;
    void toggleShowControls();
    // Records a transparency step (with save: as alphaPercent and in the settings) and
    // gives the window's alpha for it, 0 ... 255.
    int SetTransparency(int percent, bool save);
    static int layeredAlpha(int percent);

private:
    // Replaces the rows with the list's entries; a list that cannot be read or holds no
    // entry changes nothing and says so.
    bool loadListFile(const std::string& path, listfiles::ListFormat format);
    // Records path as the list file in use and among the recent ones.
    void rememberListFile(const std::string& path);
    std::string absoluteCommandPath(const std::string& part) const;
    // Selects the rows found wrong and offers to delete them; with none, the tip to show.
    std::optional<std::string> selectAndOffer(const std::function<bool(const PlaylistItem&)>& wrong,
                                              const char* noneTip, const char* title,
                                              const char* question);

    SettingsStore& settings_;
    Prompter& prompter_;
    const FileSystemView& files_;
    PlaylistModel model_;
    RecentLists recents_;
};

}  // namespace orvalis
