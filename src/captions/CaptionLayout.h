#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ports/Geometry.h"

// Where each display line of a caption goes: the whole of the caption drawing apart from
// the painting itself, as plain numbers, so that it can be checked without a display.
namespace orvalis {

// Width and height in pixels of a text set on one line in the caption font.
struct TextExtent {
    int width = 0;
    int height = 0;
};

// Measures texts in the caption font now in use.
class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    virtual TextExtent measure(std::string_view utf8) const = 0;
};

enum class CaptionAlign { Left, Centre, Right };

struct CaptionLine {
    std::string text;          // without its colour; the last of 20 lines may hold further lines
    geometry::Rect rect;       // client pixels
    std::uint32_t colour = 0;  // 0x00BBGGRR
    int points = 0;            // its own font size; 0 for the caption font
    bool operator==(const CaptionLine&) const = default;
};

// A caption ready to paint: its lines, how they are aligned in their rectangles, and either
// a black shadow offset right and down or an outline under the glyphs.
struct CaptionPicture {
    int clientWidth = 0;
    int clientHeight = 0;
    std::vector<CaptionLine> lines;
    CaptionAlign align = CaptionAlign::Centre;
    int shadowOffset = 0;  // pixels; 0 with the outline
    bool outline = false;
    std::uint32_t outlineColour = 0;  // 0x00BBGGRR

    bool empty() const { return lines.empty(); }
    bool operator==(const CaptionPicture&) const = default;
};

inline constexpr int kMaxCaptionLines = 20;
inline constexpr int kOutlineWidth = 5;
inline constexpr std::uint32_t kShadowColour = 0x000000;

struct CaptionLayoutInput {
    std::string_view caption;  // display lines "colour|text" joined by "\n"
    int clientWidth = 0;
    int clientHeight = 0;
    int points = 20;  // the caption font's size: the shadow is 1 pixel below 20 points, else 2
    std::uint32_t fontColour = 0xFFFFFF;  // for the colour text "F3E2C1"
    bool outline = false;
    std::uint32_t outlineColour = 0;
    int bottomPercent = 10;      // "Caption Bottom"
    int sideMarginPercent = 10;  // "Caption Margin": the part of the width a line may not use
    int gap = 2;                 // "Caption Gap"
    int align = 1;               // "Caption Align": 0 left, 1 centre, 2 right
    bool addOneLine = true;      // "Add One Line": a single line stands one line higher
    bool barShown = false;       // the transport bar lies over the picture
    int barHeight = 0;
};

// Lays the caption out: each display line wrapped once when it is wider than the client
// width less the side margin, at most 20 lines, the block above the bottom margin (or above
// a transport bar shown over the picture), each line in its own colour and aligned. Empty
// when the caption is empty or the client area has no size.
CaptionPicture layoutCaption(const CaptionLayoutInput& in, const TextMeasurer& measurer);

// A second caption shown with the first, in a language of its own.
struct SecondCaption {
    std::string_view caption;             // display lines as for the first
    int points = 20;                      // its font size
    std::uint32_t fontColour = 0xFFFFFF;  // for the colour text "F3E2C1"
    bool below = false;                   // under the first caption instead of above it
};

// Both captions: the first where it stands alone, the second stacked right above it (or the
// first lifted and the second in its place below it), one gap between them; the second's
// lines carry their size. Either may be empty; the second alone stands where the first would.
// The measurer measures in the first's font: the second's extents are scaled to its size.
CaptionPicture layoutTwoCaptions(const CaptionLayoutInput& first, const SecondCaption& second,
                                 const TextMeasurer& measurer);

}  // namespace orvalis
