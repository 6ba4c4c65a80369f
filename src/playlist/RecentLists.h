#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/SettingsStore.h"

namespace orvalis {

// The list files loaded or saved most recently, oldest first, at most ten.
class RecentLists {
public:
    static constexpr int kMax = 10;

    const std::vector<std::string>& entries() const { return entries_; }
    int count() const { return static_cast<int>(entries_.size()); }
    bool contains(const std::string& path) const;
    // Appends path as the newest entry, dropping the oldest when ten are held. An entry
    // already present keeps its place and nothing is added (false).
    bool add(const std::string& path);
    // k = 1 is the newest entry.
    std::optional<std::string> newest(int k) const;
    void clear() { entries_.clear(); }

    // Playlist\Recents: nCount, Last M3U and the entries under "0" ... "n-1". A count above
    // ten reads as none. The list file in use, lastListFile, defaults to the newest entry.
    void load(const SettingsStore& settings);
    void save(SettingsStore& settings) const;

    // The list file in use.
    std::string lastListFile;

private:
    std::vector<std::string> entries_;
};

}  // namespace orvalis
