#pragma once

#include <array>

#include "app/SettingsStore.h"
#include "player/Geometry.h"

namespace orvalis {

using PlaylistRect = geometry::Rect;

inline constexpr int kPlaylistMinWidth = 166;
inline constexpr int kPlaylistMinHeight = 170;
inline int playlistMaxWidth(int screenWidth) {
    return screenWidth / 2;
}

// The window's place from Playlist\Screen, in screen coordinates. Without a stored place
// the window stands right of the player window's first, centred place (366 x 272). A
// stored left beyond the screen's width, or top beyond its height, becomes 0.
PlaylistRect readPlaylistPlacement(const SettingsStore& settings, int screenWidth,
                                   int screenHeight);
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
