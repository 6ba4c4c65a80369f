#pragma once

#include <string_view>

#include "base/SettingsStore.h"

namespace orvalis {

// Lists are stored as keys "0", "1", ... below a count. When a list shrinks, the keys past
// its new end are never read again; this removes them, so that a list that once held
// 100,000 entries does not keep the settings file large for ever.
void removeNumberedKeysFrom(SettingsStore& settings, std::string_view section, int count);

}  // namespace orvalis
