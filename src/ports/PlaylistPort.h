#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ports/Geometry.h"

namespace orvalis {

// The playlist window.
class PlaylistPort {
public:
    virtual ~PlaylistPort() = default;
    virtual bool isEmpty() const = 0;
    virtual void playEntry(int which) = 0;  // -1 the next, -2 the current item
    virtual void playPrevious() = 0;
    // The paths of a start or a second start, each one whole: adds and plays. True when
    // one of them is on its way to play.
    virtual bool addPaths(const std::vector<std::string>& paths) = 0;
    // Files dropped on the player window.
    virtual void dropFiles(const std::vector<std::string>& paths) = 0;
    virtual void checkPaths() = 0;
    virtual void openFilesDialog() = 0;
    virtual bool isShown() const = 0;
    virtual void setShown(bool shown) = 0;
    virtual std::optional<geometry::Rect> rect() const = 0;
    virtual void opaqueForOpen() = 0;
    virtual void restoreTransparency() = 0;
    virtual void openRequestDone() = 0;
    virtual void showPlaying() = 0;
    virtual void showPaused() = 0;
    virtual void showStopped() = 0;
    virtual void disableButtons() = 0;
    virtual void setShowControls(bool on) = 0;
    virtual void repaint() = 0;
};

}  // namespace orvalis
