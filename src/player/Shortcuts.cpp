#include "player/Shortcuts.h"

#include "player/KeyMap.h"
#include "player/MouseMap.h"

namespace orvalis {

std::string shortcutText(CommandId id) {
    std::string keys;
    for (const KeyStroke& k : shownKeys(id)) {
        if (!keys.empty()) keys += ",  ";
        keys += k.text();
    }
    std::string wheel;
    for (const WheelStroke& w : shownWheelStrokes()) {
        if (w.command == id) wheel = w.text();
    }
    if (wheel.empty()) return keys;
    return keys.empty() ? wheel : keys + " (" + wheel + ")";
}

std::string menuLabel(CommandId id) {
    std::string label(commandLabel(id));
    if (label.empty()) return label;
    const std::string shortcut = shortcutText(id);
    if (!shortcut.empty()) label += "\t" + shortcut;
    return label;
}

}  // namespace orvalis
