#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "base/TextCodec.h"
#include "ports/Commands.h"

// Every action the player window can run, as data: one row per command with its identifier,
// a short stable name for logs and bindings, its menu label, and the rules that check or grey
// its menu item. The shortcut shown after the label's tab is not written here: it comes from
// the key and mouse maps (player/Shortcuts.h).
namespace orvalis {

struct MenuState;

// The filter information submenu: one command per element of the playback chain.
inline constexpr int kFilterCommandFirst = 4000;
inline constexpr int kFilterCommandCount = 10;

constexpr int filterCommand(int index) {
    return kFilterCommandFirst + index;
}
// The filter index of a command number, or nothing when it is not a filter item.
std::optional<int> filterIndexOf(int commandNumber);

// The caption encoding submenu: the encoding the caption file is read in, the one it shows
// first (no encoding), then one command per encoding.
struct CaptionEncodingChoice {
    std::optional<text::Encoding> encoding;
    std::string_view label;
};
std::span<const CaptionEncodingChoice> captionEncodingChoices();
inline constexpr int kCaptionEncodingCommandFirst = 4100;
constexpr int captionEncodingCommand(int index) {
    return kCaptionEncodingCommandFirst + index;
}
// The choice of a command number, or nothing when it is not a caption encoding item.
std::optional<int> captionEncodingIndexOf(int commandNumber);

// A rule of the menu item's state, from what the menu shows depends on.
using MenuRule = bool (*)(const MenuState&);

struct CommandInfo {
    CommandId id;
    std::string_view name;       // stable, ASCII, for logs and bindings
    std::string_view label;      // the menu label without its shortcut; empty without a menu item
    MenuRule checked = nullptr;  // the item carries a check mark, set by this rule
    MenuRule enabled = nullptr;  // the item is greyed unless this holds; none: always enabled
};

// All commands, in the order of the main menu's items.
std::span<const CommandInfo> allCommands();

// The entry of an identifier: every enumerator has one, a number forged into a CommandId
// has none.
const CommandInfo* findCommand(CommandId id);
std::string_view commandLabel(CommandId id);
std::optional<CommandId> commandByNumber(int number);
std::optional<CommandId> commandByName(std::string_view name);

}  // namespace orvalis
