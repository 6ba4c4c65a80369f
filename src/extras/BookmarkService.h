#pragma once

#include <optional>
#include <string>

#include "base/SettingsStore.h"
#include "extras/BookmarkStore.h"
#include "ports/BookmarkPort.h"
#include "ports/OsdPort.h"
#include "ports/TransportPort.h"

namespace orvalis {

// The bookmarks as the player window sees them: its bookmark port runs the commands on the
// store, shows their messages and keeps the seek track's marks in step with the list. Only
// player interfaces are used, so tests drive it with fakes.
inline constexpr const char* kBookmarkSaveFailed = "북마크 저장에 실패했습니다.";

class BookmarkService final : public BookmarkPort {
public:
    // filePath: the bookmark file (BookmarkStore::defaultFilePath() in the player).
    BookmarkService(SettingsStore& settings, std::string filePath, OsdPort& osd);

    // The transport bar, whose seek track marks the list; may be absent.
    void setTransport(TransportPort* transport) { transport_ = transport; }

    const BookmarkStore& store() const { return store_; }
    // True while the list of a medium could not be written to the file: it is still in
    // memory, and the next save or load tries again.
    bool unsaved() const { return unsaved_; }

    // BookmarkPort
    void load(const std::string& mediaPath, double duration) override;
    // The medium is closed or replaced: its list is written and let go (kept for another
    // try when it could not be written), and the track shows no marks.
    void save() override;
    void toggle(double position) override;
    void clearAll() override;
    std::optional<double> previous(double position) override;
    std::optional<double> next(double position) override;
    void refreshMarks() override;

private:
    void showMarks();
    void show(const std::optional<BookmarkNotice>& notice);

    BookmarkStore store_;
    OsdPort& osd_;
    TransportPort* transport_ = nullptr;
    bool unsaved_ = false;
};

}  // namespace orvalis
