#include "extras/BookmarkService.h"

#include <cstdio>

namespace orvalis {

BookmarkService::BookmarkService(SettingsStore& settings, std::string filePath, OsdPort& osd)
    : store_(settings, std::move(filePath)), osd_(osd) {}

void BookmarkService::load(const std::string& mediaPath, double duration) {
    // A list that could not be written when its medium was closed gets one more try
    // before the next medium's list takes its place.
    if (unsaved_) save();
    if (unsaved_) {
        std::fprintf(stderr, "Orvalis: the bookmarks of %s are lost: %s could not be written\n",
                     store_.mediaPath().c_str(), store_.filePath().c_str());
        unsaved_ = false;
    }
    store_.load(mediaPath, duration);
    showMarks();
}

void BookmarkService::save() {
    unsaved_ = !store_.save();
    if (unsaved_) {
        std::fprintf(stderr, "Orvalis: could not write the bookmark file %s\n",
                     store_.filePath().c_str());
        // The user must know: the list is lost if the next try fails too.
        osd_.show(kBookmarkSaveFailed, 4000);
    } else {
        store_.forget();
    }
    // The medium is going: its marks must not come back at the next refresh.
    if (transport_) transport_->clearBookmarkMarks();
}

void BookmarkService::toggle(double position) {
    show(store_.toggle(position));
    showMarks();
}

void BookmarkService::clearAll() {
    show(store_.clear());
    showMarks();
}

std::optional<double> BookmarkService::previous(double position) {
    return store_.previousTarget(position);
}

std::optional<double> BookmarkService::next(double position) {
    return store_.nextTarget(position);
}

void BookmarkService::refreshMarks() {
    showMarks();
}

void BookmarkService::showMarks() {
    if (!transport_) return;
    // Turned on after the medium started: its list is read now.
    // An unsaved list belongs to a medium already closed.
    if (!unsaved_ && store_.ready() && !store_.positions().empty()) {
        transport_->setBookmarkMarks(store_.positions());
    } else {
        transport_->clearBookmarkMarks();
    }
}

void BookmarkService::show(const std::optional<BookmarkNotice>& notice) {
    if (notice) osd_.show(notice->text, notice->durationMs);
}

}  // namespace orvalis
