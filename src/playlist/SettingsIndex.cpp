#include "playlist/SettingsIndex.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace orvalis {

namespace {

// "0", "17": the keys the lists write. "007" or "-1" are someone else's.
bool isIndexAtOrPast(const std::string& key, int count) {
    if (key.empty() || key.size() > 9 || (key.size() > 1 && key[0] == '0')) return false;
    if (!std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    return std::stoi(key) >= count;
}

}  // namespace

void removeNumberedKeysFrom(SettingsStore& settings, std::string_view section, int count) {
    std::vector<std::string> keys = settings.keys(section);
    auto stale = std::count_if(keys.begin(), keys.end(),
                               [&](const std::string& k) { return isIndexAtOrPast(k, count); });
    if (stale == 0) return;
    SettingsBatch batch(settings);
    if (stale <= 64) {
        for (const auto& k : keys)
            if (isIndexAtOrPast(k, count)) settings.removeKey(section, k);
        return;
    }
    // Removing keys one by one costs a pass over the section each: rewrite it instead.
    std::vector<std::pair<std::string, std::string>> kept;
    for (const auto& k : keys)
        if (!isIndexAtOrPast(k, count)) kept.emplace_back(k, settings.getString(section, k));
    settings.removeSection(section);
    for (const auto& [k, v] : kept) settings.putString(section, k, v);
}

}  // namespace orvalis
