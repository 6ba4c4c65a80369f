#pragma once

#include <array>
#include <cstddef>

#include "ports/Geometry.h"

// Where every control of the transport bar stands for a given width, and which of them are
// shown. Rectangles are in the bar's own pixels (right and bottom one past the last pixel).
namespace orvalis::panel {

enum class PanelItem : int {
    Track,
    RepeatBar,
    CurrentTime,
    TotalTime,
    Open,
    Previous,
    Play,
    Pause,
    Stop,
    Next,
    Mute,
    Wedge,
    RepeatStart,
    RepeatEnd,
    RepeatClear,
    Smoothing,
    Bold,
    Border,
    ShowCaptions,
    CaptionLarger,
    CaptionSmaller,
    CaptionUp,
    CaptionDown,
    CaptionLanguage,
    Brightness,
    Sharpness,
    FoldBackBrightness,
    FoldBackSharpness,
    Minimize,
    Maximize,
    Quit,
    Title,
};
inline constexpr std::size_t kPanelItemCount = static_cast<std::size_t>(PanelItem::Title) + 1;

// Widths at which controls appear (the bar's client width W).
inline constexpr int kQuitFrom = 192;              // W >= 192
inline constexpr int kMaximizeFrom = 218;          // W >= 218
inline constexpr int kMinimizeFrom = 245;          // W >= 245
inline constexpr int kTimeTextsAbove = 295;        // W > 295
inline constexpr int kMuteAbove = 360;             // W > 360
inline constexpr int kWedgeFrom = 360;             // W >= 360
inline constexpr int kRepeatButtonsAbove = 448;    // W > 448
inline constexpr int kCaptionControlsAbove = 605;  // W > 605, and only with captions

// The title needs this much room between the controls, or it is left out.
inline constexpr int kTitleMinWidth = 40;

struct LayoutInput {
    int width = 0;
    int trackHeight = 15;  // "Track Height"; kept within geometry's limits
    bool useRepeatCtrl = true;
    bool adjustRowOpen = false;
    bool captionsLoaded = false;
};

struct Placement {
    geometry::Rect rect;
    bool shown = false;
};

struct PanelLayout {
    std::array<Placement, kPanelItemCount> parts{};
    int height = 0;       // the bar's height for these settings
    int trackBottom = 0;  // below the track, or below the repeat bar when it is shown
    int rowTop = 0;       // top of the button row

    const Placement& operator[](PanelItem p) const { return parts[static_cast<std::size_t>(p)]; }
    Placement& operator[](PanelItem p) { return parts[static_cast<std::size_t>(p)]; }
};

PanelLayout layoutPanel(const LayoutInput& in);

}  // namespace orvalis::panel
