#include "playlist/RecentLists.h"

#include <algorithm>

#include "base/SettingsKeys.h"
#include "playlist/SettingsIndex.h"

namespace orvalis {

bool RecentLists::contains(const std::string& path) const {
    return std::find(entries_.begin(), entries_.end(), path) != entries_.end();
}

bool RecentLists::add(const std::string& path) {
    if (contains(path)) return false;
    if (count() >= kMax) entries_.erase(entries_.begin());
    entries_.push_back(path);
    return true;
}

std::optional<std::string> RecentLists::newest(int k) const {
    if (k < 1 || k > count()) return std::nullopt;
    return entries_[static_cast<size_t>(count() - k)];
}

void RecentLists::load(const SettingsStore& settings) {
    entries_.clear();
    int n = settings::get(settings, keys::RecentCount);
    if (n < 0 || n > kMax) n = 0;
    for (int i = 0; i < n; ++i) {
        std::string entry = settings.getString(sections::PlaylistRecents, settings::indexKey(i));
        // An empty entry would only show as a blank menu item.
        if (!entry.empty()) add(entry);
    }
    lastListFile = settings::get(settings, keys::LastListFile);
    if (lastListFile.empty() && !entries_.empty()) lastListFile = entries_.back();
}

void RecentLists::save(SettingsStore& settings) const {
    settings::put(settings, keys::RecentCount, count());
    settings::put(settings, keys::LastListFile, lastListFile);
    for (int i = 0; i < count(); ++i)
        settings.putString(sections::PlaylistRecents, settings::indexKey(i),
                           entries_[static_cast<size_t>(i)]);
    removeNumberedKeysFrom(settings, sections::PlaylistRecents, count());
}

}  // namespace orvalis
