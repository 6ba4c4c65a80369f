#pragma once

#include <optional>
#include <string>
#include <vector>

#include "playlist/Playlist.h"

namespace orvalis {

// Commands of the playlist's context menu.
namespace playlist_cmd {
inline constexpr int ToggleMainWindow = 32824;
inline constexpr int ShowControls = 32851;
inline constexpr int Transparency0 = 32813;
inline constexpr int Transparency10 = 32812;
inline constexpr int Transparency20 = 32814;
inline constexpr int Transparency30 = 32815;
inline constexpr int Transparency40 = 32816;
inline constexpr int Transparency50 = 32817;
inline constexpr int ColourSchemes = 32827;
inline constexpr int Shuffle = 32811;
inline constexpr int CheckPaths = 32823;
inline constexpr int CheckDuplicates = 32834;
inline constexpr int ShowCount = 32818;
inline constexpr int Exit = 32825;
inline constexpr int FirstRecent = 61446;  // ... 61455, newest first
inline constexpr int ClearRecents = 61456;
}  // namespace playlist_cmd

// One item of a menu as it is to be drawn: a command, a separator or a submenu.
struct PlaylistMenuItem {
    int command = 0;  // 0 for separators and submenus
    std::string label;
    bool enabled = true;
    bool checked = false;
    bool separator = false;
    std::vector<PlaylistMenuItem> submenu;
};

// The context menu of the play list in its present state: the recent list files (when
// there are any), the labels that depend on the player window, the checks and the items
// grayed for an empty list.
std::vector<PlaylistMenuItem> playlistContextMenu(const Playlist& playlist, bool playerShown);

// The transparency step of a transparency command, and the other way round.
std::optional<int> transparencyOfCommand(int command);
int commandOfTransparency(int percent);
// k = 1 ... 10 of a recent-list command.
std::optional<int> recentOfCommand(int command);

}  // namespace orvalis
