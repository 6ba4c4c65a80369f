#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/SettingsStore.h"

namespace orvalis {

// A text for the on-screen message; durationMs 0 means the usual duration.
struct BookmarkNotice {
    std::string text;
    int durationMs = 0;
};

// The bookmarks of the current medium: up to 50 whole-second positions, ascending, kept
// per medium in the bookmark file. Works only while "Config\Control" "Use Bookmark" is on
// (read at every call) and the medium is a local file. Showing the notices and seeking to
// the targets is the window's job.
class BookmarkStore {
public:
    // filePath: the bookmark file; empty keeps nothing (nothing is read or saved).
    BookmarkStore(SettingsStore& settings, std::string filePath);

    // "Bookmark.ini" in the player's data folder.
    static std::string defaultFilePath();

    bool enabled() const;

    // Takes the medium whose length is now known and reads its bookmarks. With bookmarks
    // off they are read when first needed, so turning them on later loses nothing.
    void load(const std::string& mediaPath, double lengthSeconds);
    // Writes the list under the path it was loaded for, replacing that medium's section and
    // putting it first. Returns false when the file could not be replaced; the old file and
    // the list in memory are then kept. True also when there was nothing to write.
    bool save();
    // Drops the medium and its list (after it was saved and closed).
    void forget();

    // Removes the bookmark at the position's whole second, or adds one there while fewer
    // than 50 are held. Only an addition has a notice.
    std::optional<BookmarkNotice> toggle(double positionSeconds);
    // Empties the list; a notice when there was something to remove.
    std::optional<BookmarkNotice> clear();
    // Where the previous / next bookmark command seeks from this position, in seconds;
    // nothing when it would not move.
    std::optional<int> previousTarget(double positionSeconds);
    std::optional<int> nextTarget(double positionSeconds);

    // True when the list of a loaded local medium is in memory (reading it if needed).
    bool ready();

    // The list the seek track marks.
    const std::vector<int>& positions() const { return positions_; }
    const std::string& mediaPath() const { return mediaPath_; }
    const std::string& filePath() const { return filePath_; }

private:
    SettingsStore& settings_;
    std::string filePath_;
    std::string mediaPath_;
    int lengthSeconds_ = 0;
    bool listRead_ = false;
    std::vector<int> positions_;
};

}  // namespace orvalis
