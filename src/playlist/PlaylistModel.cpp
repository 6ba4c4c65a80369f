#include "playlist/PlaylistModel.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <numeric>
#include <random>

#include "base/TextCodec.h"

namespace orvalis {

RandomSource timeSeededRandom() {
    auto seed = static_cast<std::uint32_t>(
        std::chrono::system_clock::to_time_t(std::chrono::system_clock::now()));
    auto engine = std::make_shared<std::minstd_rand>(seed);
    return [engine] { return static_cast<int>((*engine)() & 0x7FFF); };
}

void PlaylistModel::append(PlaylistItem item) {
    rows_.push_back(std::move(item));
}

void PlaylistModel::removeAt(int index) {
    if (valid(index)) rows_.erase(rows_.begin() + index);
}

void PlaylistModel::clear() {
    rows_.clear();
}

int PlaylistModel::FirstSelected() const {
    for (int i = 0; i < count(); ++i)
        if (at(i).selected) return i;
    return -1;
}

int PlaylistModel::firstMarked() const {
    for (int i = 0; i < count(); ++i)
        if (at(i).marker) return i;
    return -1;
}

int PlaylistModel::lastMarked() const {
    for (int i = count() - 1; i >= 0; --i)
        if (at(i).marker) return i;
    return -1;
}

int PlaylistModel::selectedCount() const {
    return static_cast<int>(std::count_if(rows_.begin(), rows_.end(),
                                          [](const PlaylistItem& r) { return r.selected; }));
}

void PlaylistModel::clearSelection() {
    for (auto& r : rows_) r.selected = false;
}

void PlaylistModel::markOnly(int index) {
    for (int i = 0; i < count(); ++i) {
        at(i).marker = i == index;
        at(i).selected = i == index;
    }
}

int PlaylistModel::findPath(std::string_view text) const {
    for (int i = 0; i < count(); ++i)
        if (at(i).path == text) return i;
    return -1;
}

int PlaylistModel::findLabel(std::string_view text) const {
    for (int i = 0; i < count(); ++i)
        if (at(i).displayName == text) return i;
    return -1;
}

void PlaylistModel::DeleteSelected() {
    std::erase_if(rows_, [](const PlaylistItem& r) { return r.selected; });
}

void PlaylistModel::permute(const std::vector<size_t>& order) {
    std::vector<PlaylistItem> sorted;
    sorted.reserve(rows_.size());
    for (size_t i : order) sorted.push_back(std::move(rows_[i]));
    rows_ = std::move(sorted);
}

// A bubble sort that swaps only on a strict difference never reorders equal names; a
// stable sort with the same comparison gives the very same order in O(n log n).
void PlaylistModel::SortByName() {
    clearSelection();
    std::vector<std::string> keys;
    keys.reserve(rows_.size());
    for (const auto& r : rows_) keys.push_back(text::toLowerAscii(r.displayName));
    std::vector<size_t> order(rows_.size());
    std::iota(order.begin(), order.end(), size_t{0});
    if (sortAscending) {
        std::stable_sort(order.begin(), order.end(),
                         [&](size_t a, size_t b) { return keys[a] < keys[b]; });
    } else {
        std::stable_sort(order.begin(), order.end(),
                         [&](size_t a, size_t b) { return keys[a] > keys[b]; });
    }
    permute(order);
    sortAscending = !sortAscending;
}

void PlaylistModel::shuffleRows(const RandomSource& random) {
    std::vector<int> keys;
    keys.reserve(rows_.size());
    for (auto& r : rows_) {
        r.selected = false;
        r.focused = false;
        keys.push_back(random() & 0x7FFF);
    }
    std::vector<size_t> order(rows_.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return keys[a] < keys[b]; });
    permute(order);
    for (auto& r : rows_) r.marker = false;
}

void PlaylistModel::moveSelected(int dropRow) {
    if (dropRow < 0 || dropRow > count()) dropRow = count();
    std::vector<PlaylistItem> moved, kept;
    int insertAt = dropRow;
    for (int i = 0; i < count(); ++i) {
        if (at(i).selected) {
            if (i < dropRow) --insertAt;
            moved.push_back(std::move(at(i)));
        } else {
            kept.push_back(std::move(at(i)));
        }
    }
    for (auto& r : moved) r.selected = true;
    kept.insert(kept.begin() + insertAt, std::make_move_iterator(moved.begin()),
                std::make_move_iterator(moved.end()));
    rows_ = std::move(kept);
}

}  // namespace orvalis
