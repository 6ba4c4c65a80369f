#pragma once

#include <string>

#include "player/CommandRows.h"

namespace orvalis {

// The shortcut a menu item shows after its tab, made from the key and mouse maps: the keys
// shown for the command, apart by ",  ", then the wheel in parentheses ("F12 (휠 클릭)"), or
// the wheel alone. Empty for a command no shown key or wheel move reaches.
std::string shortcutText(CommandId id);

// The command's menu label with its shortcut after a tab, when it has one; empty for a
// command without a menu item.
std::string menuLabel(CommandId id);

}  // namespace orvalis
