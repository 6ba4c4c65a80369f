#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orvalis {

// One row of the play list.
struct PlaylistItem {
    std::string displayName;  // the label shown: the file-name part of the path
    std::string path;         // what is opened, saved and compared
    bool marker = false;      // set on the one row that is the current item
    bool selected = false;
    bool focused = false;
};

// A random number per call; only its low 15 bits (0 ... 32767) are used.
using RandomSource = std::function<int()>;
// A generator seeded from the clock, as a shuffle wants it.
RandomSource timeSeededRandom();

// The rows of the play list and the few indexes kept beside them. Indexes are plain row
// numbers: deleting rows does not move currentIndex (the marker moves with its row).
class PlaylistModel {
public:
    const std::vector<PlaylistItem>& rows() const { return rows_; }
    int count() const { return static_cast<int>(rows_.size()); }
    bool empty() const { return rows_.empty(); }
    bool valid(int index) const { return index >= 0 && index < count(); }
    const PlaylistItem& at(int index) const { return rows_[static_cast<size_t>(index)]; }
    PlaylistItem& at(int index) { return rows_[static_cast<size_t>(index)]; }

    void append(PlaylistItem item);
    void removeAt(int index);
    void clear();

    // Index of the first selected row, or -1.
    int FirstSelected() const;
    int firstMarked() const;
    int lastMarked() const;
    int selectedCount() const;
    void clearSelection();
    // The row gets the marker and the selection; every other row loses both.
    void markOnly(int index);

    // The first row whose path (or label) is exactly text, or -1. Letter case counts: on
    // this system /v/a.avi and /v/A.avi are two files.
    int findPath(std::string_view text) const;
    int findLabel(std::string_view text) const;

    // Deletes every selected row.
    void DeleteSelected();
    // Stable sort by lower-cased display name in the direction of sortAscending, which
    // then flips. Rows with equal names keep their order.
    void SortByName();
    // Orders the rows by a fresh random key each (stable for equal keys) and clears every
    // marker, selection and focus.
    void shuffleRows(const RandomSource& random);
    // Moves the selected rows, in their order, to stand before the row that was at
    // dropRow (-1 or past the end: to the end of the list). They stay selected.
    void moveSelected(int dropRow);

    int currentIndex = -1;
    int clickedIndex = -1;
    // A list file was just loaded or saved: the next continue starts the marked row
    // instead of the one after it.
    bool justLoaded = false;
    bool sortAscending = true;

private:
    void permute(const std::vector<size_t>& order);

    std::vector<PlaylistItem> rows_;
};

}  // namespace orvalis
