#pragma once

#include <array>
#include <vector>

#include "base/SettingsStore.h"
#include "ports/Geometry.h"

namespace orvalis {

using PlaylistRect = geometry::Rect;

inline constexpr int kPlaylistMinWidth = 166;
inline constexpr int kPlaylistMinHeight = 170;
inline int playlistMaxWidth(int screenWidth) {
    return screenWidth / 2;
}

// The window's place from Playlist\Screen, in screen coordinates (of the whole desktop).
// screens: the areas of the screens, the player window's first. Without a stored place the
// window stands right of the player window's first, centred place (366 x 272) on that
// screen. A stored place is kept as long as the window is on some screen; one that is on
// none is moved onto the nearest (keepOnScreens).
PlaylistRect readPlaylistPlacement(const SettingsStore& settings,
                                   const std::vector<PlaylistRect>& screens);
// A window counts as on a screen while enough of it to take hold of lies on that screen.
// One that is on no screen moves onto the nearest, keeping its size (only a window larger
// than that screen shrinks to it). Without screens nothing moves.
PlaylistRect keepOnScreens(const PlaylistRect& window, const std::vector<PlaylistRect>& screens);
void writePlaylistPlacement(SettingsStore& settings, const PlaylistRect& rect);

// Where the window's parts go for a client area of width x height.
struct PlaylistLayout {
    PlaylistRect list;
    PlaylistRect mainMenu, check, minimizeMain, hide;  // the 10 x 10 top row
    std::array<PlaylistRect, 5> editRow;               // Add, Delete, Clear, Sort, Save
    std::array<PlaylistRect, 5> controlRow;            // Previous, Play, Pause, Stop, Next
    bool controlsVisible = false;
};
PlaylistLayout layoutPlaylist(int width, int height, bool showControls);

}  // namespace orvalis
