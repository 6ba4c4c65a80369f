#pragma once

#include <optional>

#include "ports/Geometry.h"

namespace orvalis {

// Screen rectangles are the player's one rectangle type.
using PixelRect = geometry::Rect;

inline constexpr int kMinWindowWidth = geometry::kMinWidth;
inline constexpr int kMinWindowHeight = geometry::kMinHeight;

// Shift with keypad + (and "Mouse Wheel" 2): 40 pixels wider on each side and 30 higher on
// each side; a window already as wide (high) as the largest trackable size spans 0 to that
// size instead. Nothing in full screen or maximized.
std::optional<PixelRect> grownWindow(const PixelRect& window, int maxTrackWidth, int maxTrackHeight,
                                     bool fullScreen);

// Shift with keypad -: 20 pixels narrower on each side and 15 lower on each side, never
// below 192 x 130; a window that would become smaller keeps its left (top) edge and takes
// the least size, so repeated presses do not walk it across the screen. Nothing in full
// screen or maximized.
std::optional<PixelRect> shrunkWindow(const PixelRect& window, bool fullScreen);

}  // namespace orvalis
