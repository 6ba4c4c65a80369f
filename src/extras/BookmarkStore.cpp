#include "extras/BookmarkStore.h"

#include <algorithm>
#include <climits>
#include <filesystem>

#include "base/AppPaths.h"
#include "base/AtomicFile.h"
#include "base/Naming.h"
#include "base/SettingsKeys.h"
#include "extras/BookmarkFile.h"

namespace orvalis {

namespace {

// The file is a few kilobytes in practice; this only keeps a runaway file from filling memory.
constexpr std::size_t kMaxFileBytes = std::size_t(64) << 20;

int wholeSeconds(double seconds) {
    if (!(seconds > 0)) return 0;  // also NaN
    if (seconds >= static_cast<double>(INT_MAX)) return INT_MAX;
    return static_cast<int>(seconds);
}

bool somethingAt(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ec));
}

}  // namespace

BookmarkStore::BookmarkStore(SettingsStore& settings, std::string filePath)
    : settings_(settings), filePath_(std::move(filePath)) {}

std::string BookmarkStore::defaultFilePath() {
    return paths::dataDir() + "/Bookmark.ini";
}

bool BookmarkStore::enabled() const {
    return settings::get(settings_, keys::UseBookmark);
}

void BookmarkStore::load(const std::string& mediaPath, double lengthSeconds) {
    mediaPath_ = mediaPath;
    lengthSeconds_ = wholeSeconds(lengthSeconds);
    positions_.clear();
    listRead_ = false;
    ready();
}

bool BookmarkStore::ready() {
    if (!enabled() || !bookmarks::canKeepBookmarks(mediaPath_)) return false;
    if (!listRead_) {
        listRead_ = true;
        if (!filePath_.empty()) {
            if (auto bytes = readWholeFile(filePath_, kMaxFileBytes))
                positions_ = bookmarks::readBookmarks(*bytes, mediaPath_, lengthSeconds_);
        }
    }
    return true;
}

bool BookmarkStore::save() {
    // A list never read from the file must not replace what the file holds for the medium.
    if (!enabled() || filePath_.empty() || !bookmarks::canKeepBookmarks(mediaPath_) || !listRead_)
        return true;
    std::string old;
    if (auto bytes = readWholeFile(filePath_, kMaxFileBytes)) {
        old = std::move(*bytes);
    } else if (somethingAt(filePath_)) {
        return false;  // the other media's sections could not be kept
    } else if (positions_.empty()) {
        return true;
    }
    return writeFileAtomically(filePath_, bookmarks::rewriteBookmarks(old, mediaPath_, positions_));
}

void BookmarkStore::forget() {
    mediaPath_.clear();
    lengthSeconds_ = 0;
    listRead_ = false;
    positions_.clear();
}

std::optional<BookmarkNotice> BookmarkStore::toggle(double positionSeconds) {
    if (!ready()) return std::nullopt;
    const int s = wholeSeconds(positionSeconds);
    auto at = std::lower_bound(positions_.begin(), positions_.end(), s);
    if (at != positions_.end() && *at == s) {
        positions_.erase(at);
        return std::nullopt;
    }
    if (positions_.size() >= static_cast<std::size_t>(bookmarks::kMaxBookmarks))
        return std::nullopt;
    positions_.insert(at, s);
    return BookmarkNotice{clockText(s) + " 위치 북마크 추가", 0};
}

std::optional<BookmarkNotice> BookmarkStore::clear() {
    if (!ready() || positions_.empty()) return std::nullopt;
    positions_.clear();
    return BookmarkNotice{"북마크가 해제되었습니다.", 4000};
}

std::optional<int> BookmarkStore::previousTarget(double positionSeconds) {
    if (!ready() || positions_.empty()) return std::nullopt;
    const int p = wholeSeconds(positionSeconds);
    if (p <= positions_.front()) return 0;
    // The last bookmark below p: standing on one goes to the one before it.
    return *(std::lower_bound(positions_.begin(), positions_.end(), p) - 1);
}

std::optional<int> BookmarkStore::nextTarget(double positionSeconds) {
    if (!ready() || positions_.empty()) return std::nullopt;
    const int p = wholeSeconds(positionSeconds);
    auto after = std::upper_bound(positions_.begin(), positions_.end(), p);
    if (after == positions_.end()) return std::nullopt;
    return *after;
}

}  // namespace orvalis
