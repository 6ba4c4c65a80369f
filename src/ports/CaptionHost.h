#pragma once

#include "engine/MediaEngine.h"

namespace orvalis {

// What the captions need of the player window around them.
struct CaptionFrame {
    int width = 0;  // the client area the caption is laid out in
    int height = 0;
    bool barShown = false;  // the transport bar lies over the picture
    int barHeight = 0;
};

class CaptionHost {
public:
    virtual ~CaptionHost() = default;
    // Loaded, playing, paused, has video, captions loaded.
    virtual const EngineFlags& mediaFlags() const = 0;
    virtual void setCaptionsLoaded(bool loaded) = 0;
    // Pauses a playing medium, resumes a paused one.
    virtual void pauseOrResume() = 0;
    virtual CaptionFrame captionFrame() const = 0;
    virtual bool fullScreenOrMaximized() const = 0;
    virtual void exitFullScreen() = 0;
    // Sizes the window to the picture with the caption room ("Caption Space") below it.
    virtual void applyCaptionSpace() = 0;
    // The transport bar's caption controls follow the caption state.
    virtual void refreshCaptionButtons() = 0;
    virtual void setBusyCursor(bool busy) = 0;
};

}  // namespace orvalis
