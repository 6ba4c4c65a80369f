#pragma once

#include <QWidget>
#include <deque>
#include <memory>
#include <string>

#include "app/DesktopServices.h"
#include "app/Prompter.h"
#include "app/SettingsStore.h"
#include "engine/EngineHost.h"
#include "engine/MediaEngine.h"
#include "player/QtTimerService.h"

namespace orvalis {

class MpvBackend;
class VideoSurface;

// The main window: it owns the engine and the video surface, runs the timers, and turns
// keys and window events into the player's commands.
class PlayerWindow final : public QWidget, public EngineHost {
    Q_OBJECT
public:
    PlayerWindow(SettingsStore& settings, MpvBackend& backend, Prompter& prompter,
                 DesktopServices& desktop, std::string commandLineList);
    ~PlayerWindow() override;

    MediaEngine& engine() { return *engine_; }
    VideoSurface& videoSurface() { return *surface_; }
    TimerService& timers() { return *timers_; }

    // A list handed over by a second start; empty only brings the window to the front.
    void receiveHandOver(const QString& list);
    // The Exit command: saves and closes.
    void exitPlayer();

    // EngineHost
    void startPlaybackTick() override;
    void stopPlaybackTick() override;
    void startStartOfPlayback() override;
    void setBusyCursor(bool busy) override;
    void saveBookmarks() override {}
    void resetCaptionSync() override {}
    bool findCaptionFile(const std::string&) override { return false; }
    void clearCaption() override {}
    void afterSeek(double) override {}
    void applyVolume() override;
    bool hasVideoSurface() const override;
    bool playlistIsEmpty() const override;
    void playlistPlayEntry(int which) override;
    void playlistPlayPrevious() override;
    void playlistOpaqueForOpen() override {}
    void playlistRestoreTransparency() override {}
    void playlistOpenRequestDone() override {}
    void runCloseFile() override;
    void runExit() override { exitPlayer(); }
    void runOpenFileDialog() override;
    void repaintWindow() override { update(); }
    void showPlaying() override {}
    void showPaused() override {}
    void showStopped() override {}
    void pressPlayButtons() override {}
    void announceRate(double) override {}
    bool shiftHeld() const override;

signals:
    void exited();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void onTimer(TimerId id);
    void deferredInit();
    void playbackTick();
    void startOfPlayback();
    void queueList(const std::string& list, bool play);

    SettingsStore& settings_;
    MpvBackend& backend_;
    Prompter& prompter_;
    DesktopServices& desktop_;
    std::unique_ptr<QtTimerService> timers_;
    std::unique_ptr<MediaEngine> engine_;
    VideoSurface* surface_ = nullptr;
    std::string pendingList_;

    // The queue of files to play, until the playlist window takes this role.
    std::deque<std::string> queue_;
    int queuePos_ = -1;
    bool exiting_ = false;
};

}  // namespace orvalis
