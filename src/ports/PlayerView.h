#pragma once

#include <optional>
#include <string>

#include "ports/Geometry.h"

namespace orvalis {

enum class PointerShape { Arrow, Wait, Blank, Move };

// The main window itself.
class PlayerView {
public:
    virtual ~PlayerView() = default;
    virtual geometry::Rect windowRect() const = 0;
    // The available area of the screen that holds the window.
    virtual geometry::Rect screenRect() const = 0;
    virtual std::optional<geometry::Rect> taskbarRect() const { return std::nullopt; }
    virtual void setWindowRect(const geometry::Rect& rect) = 0;
    virtual void setPictureLayout(const geometry::Layout& layout, geometry::ScreenMode mode) = 0;
    virtual void setFullScreen(bool on) = 0;
    virtual void setTopMost(bool on) = 0;
    virtual void setWindowShown(bool shown) = 0;
    virtual void minimize() = 0;
    virtual void focus() = 0;
    virtual void setPointer(PointerShape shape) = 0;
    virtual geometry::Point cursorPos() const = 0;  // screen coordinates
    virtual void repaint() = 0;
    virtual void setBackground(int backMode, int backColor, const std::string& backImage) = 0;
    // Pixel size of the background picture, when it loads.
    virtual std::optional<geometry::Size> backgroundImageSize() const = 0;
    virtual bool hasVideoSurface() const = 0;
    virtual bool shiftHeld() const = 0;
    virtual bool ctrlHeld() const = 0;
};

}  // namespace orvalis
