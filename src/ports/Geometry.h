#pragma once

#include <optional>

// The numbers of the player window's picture and placement: plain functions over
// rectangles, so every rule is checked without a display.
namespace orvalis::geometry {

struct Point {
    int x = 0;
    int y = 0;
};

struct Size {
    int width = 0;
    int height = 0;
};

// Edges as the window system gives them: right and bottom are one past the last pixel.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return width() <= 0 || height() <= 0; }
    bool contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    bool intersects(const Rect& o) const {
        return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
    Rect moved(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    bool operator==(const Rect&) const = default;
};

inline constexpr int kMinWidth = 192;
inline constexpr int kMinHeight = 130;
inline constexpr Size kIdlePictureSize{366, 272};

enum class ScreenMode { Normal, FullScreen, Maximized };

// The window inside the screen's available area: one larger than the area is made smaller
// with its proportions kept, and then moved in so that no edge lies outside.
Rect fitInside(const Rect& window, const Rect& screen);

// Zoom by factor z (0.5, 1, 1.5, 2) of the native size, at least 192 x 130, fitted inside
// the screen.
Rect zoomRect(const Rect& window, Size native, double z, const Rect& screen);

// "Track Height" as the transport bar uses it: a stored 0 (an imported settings file that
// lacks it) or 200 would leave no track to click or a bar taller than the picture.
inline constexpr int kMinTrackHeight = 4;
inline constexpr int kMaxTrackHeight = 40;
int clampTrackHeight(int trackHeight);

// Height of the transport bar: "Track Height" (kept within the limits above) + 42, and 7 more
// with the repeat controls.
int transportBarHeight(int trackHeight, bool useRepeatCtrl);

// Caption font size that follows the client height, kept so that size + offset is in 10..70.
int captionFontSizeForHeight(int clientHeight, int fontOffset);

struct LayoutInput {
    Rect window;  // screen coordinates; the client area is the whole window
    ScreenMode mode = ScreenMode::Normal;
    bool keepAspect = true;
    bool hasVideo = false;
    bool captionsLoaded = false;
    Size native = kIdlePictureSize;
    int captionSpacePercent = 0;
    int panScanPercent = 0;
};

struct Layout {
    bool showsVideo = false;
    Rect video;  // client coordinates; may reach beyond the client area (pan & scan)
    int captionRoom = 0;
};

// Where the picture goes inside the client area.
Layout layoutPicture(const LayoutInput& in);

// The picture as libmpv places it inside the whole client area: margins as fractions of the
// client size, letter-boxed or stretched, and a zoom (log2 of the scale) for a picture box
// that reaches beyond the client area (pan & scan).
struct VideoPlacement {
    double marginLeft = 0, marginTop = 0, marginRight = 0, marginBottom = 0;
    bool keepAspect = false;
    double zoom = 0;
};
VideoPlacement placementFor(const Layout& layout, Size client, Size native, ScreenMode mode);

// The transport bar lies over the bottom of the window, as wide as the window.
Rect transportBarRect(const Rect& window, int barHeight);

// The shown bar sits inside the window, 2 pixels in from every side.
Rect shownTransportBarRect(const Rect& window, int barHeight);

// The band along the bottom of the client area where the pointer calls up the bar.
bool inTransportBand(Point clientPoint, Size client, int barHeight);

// Border zones 1..8 (left, right, top, top-left, top-right, bottom, bottom-left,
// bottom-right) of a client point; 0 outside all of them.
int borderZone(Point clientPoint, Size client, int borderSize);

// The dragged edge while the user resizes with the aspect kept.
enum class SizingEdge { Left, Right, Top, TopLeft, TopRight, Bottom, BottomLeft, BottomRight };
SizingEdge edgeOfZone(int zone);
Rect keepProportions(const Rect& proposed, SizingEdge edge, double aspect);

// The picture size of the aspect commands: original, 4:3, 16:9.
enum class AspectChoice { Original, FourThree, SixteenNine };
Size aspectNativeSize(AspectChoice choice, Size videoSize);
// Window rectangle for a new native size: the width stays, the height follows with the
// caption room below; aspect receives width ÷ height of the result.
Rect rectForNativeSize(const Rect& window, Size native, int captionSpacePercent, double* aspect);

// Placement at start from the saved rectangle (left/top -3000 mean none saved).
struct SavedPlacement {
    int left = -3000;
    int top = -3000;
    int right = -3000 + 366;
    std::optional<int> bottom;  // read only when the aspect is not kept
};
Rect startPlacement(const SavedPlacement& saved, bool keepAspect, Size idleSize, Rect screen);

// Screen-edge snapping: an edge within distance of a target edge moves onto it.
Rect snapRect(const Rect& proposed, const Rect& screen, const std::optional<Rect>& taskbar,
              const std::optional<Rect>& other, int distance = 15);

// Two rectangles share an edge (within two pixels) and overlap along it.
bool touches(const Rect& a, const Rect& b);

// Pan & scan steps (only in full screen; none always).
int panScanLess(int value);
int panScanMore(int value);

// Centres a rectangle of the given size on the screen.
Rect centred(Size size, const Rect& screen);

}  // namespace orvalis::geometry
