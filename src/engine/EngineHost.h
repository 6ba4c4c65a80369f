#pragma once

#include <string>

namespace orvalis {

// What the engine needs of the window that owns it: its timers, the playlist, the
// transport bar, captions and bookmarks. The player window implements it.
class EngineHost {
public:
    virtual ~EngineHost() = default;

    // Timer 102, the 100 ms playback tick, and timer 108, the start-of-playback step.
    virtual void startPlaybackTick() = 0;
    virtual void stopPlaybackTick() = 0;
    virtual void startStartOfPlayback() = 0;

    virtual void setBusyCursor(bool busy) = 0;
    virtual void saveBookmarks() = 0;
    virtual void resetCaptionSync() = 0;
    // Looks for the medium's caption file and parses it; true when captions were loaded.
    virtual bool findCaptionFile(const std::string& mediaPath) = 0;
    virtual void clearCaption() = 0;
    // After every seek: the caption texts are emptied and redrawn, the position shown.
    virtual void afterSeek(double seconds) = 0;
    virtual void applyVolume() = 0;
    virtual bool hasVideoSurface() const = 0;

    // The playlist window.
    virtual bool playlistIsEmpty() const = 0;
    virtual void playlistPlayEntry(int which) = 0;  // -1 the next, -2 the current item
    virtual void playlistPlayPrevious() = 0;
    virtual void playlistOpaqueForOpen() = 0;       // build step 1
    virtual void playlistRestoreTransparency() = 0;  // build step 12, without video
    virtual void playlistOpenRequestDone() = 0;

    // Commands of the player window.
    virtual void runCloseFile() = 0;
    virtual void runExit() = 0;
    virtual void runOpenFileDialog() = 0;
    virtual void repaintWindow() = 0;

    // The transport bar and the playlist's play buttons.
    virtual void showPlaying() = 0;
    virtual void showPaused() = 0;
    virtual void showStopped() = 0;
    virtual void pressPlayButtons() = 0;

    virtual void announceRate(double rate) = 0;
    virtual bool shiftHeld() const = 0;
};

}  // namespace orvalis
