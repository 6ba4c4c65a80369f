#pragma once

#include <string>

#include "player/PlaybackTick.h"
#include "ports/CaptionStyle.h"
#include "ports/Geometry.h"

namespace orvalis {

// The player window's own settings, read at start and written at Exit.
struct WindowSettings {
    bool repeat = false;
    bool showMainDlg = true;
    bool alwaysOnTop = false;
    bool showPlayList = true;
    bool keepAspect = true;
    int interval = 10;
    int intervalCtrl = 30;
    bool showFrameNumber = false;
    bool autoHideOnAudio = false;
    int backMode = 1;
    int backColor = 0x404040;
    std::string backImage;
};

// What changes while the window lives.
struct WindowState {
    geometry::ScreenMode mode = geometry::ScreenMode::Normal;
    bool barShown = false;
    bool settingsOpen = false;
    bool rangeEditing = false;
    bool trackDragging = false;
    bool barHold = false;
    bool dragging = false;
    geometry::Point pressPoint;
    int cursorIdle = 0;
    geometry::Point idleCursor;
    geometry::Rect normalRect;
    geometry::Size idleSize = geometry::kIdlePictureSize;
    geometry::Size native = geometry::kIdlePictureSize;
    double aspect = 366.0 / 272.0;
    int panScan = 0;
    int lastZoom = 3;  // the zoom command last used: 2, 3, 4, 5 for 0.5, 1, 1.5, 2
    RepeatRange range;
    bool playlistShownBeforeFullScreen = true;
    int barHeight = 60;
    int captionSync = 0;  // tenths of a second, while no caption part keeps it
    bool initialised = false;

    bool fullScreen() const { return mode != geometry::ScreenMode::Normal; }
};

}  // namespace orvalis
