#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/EngineHost.h"
#include "player/Playback.h"
#include "player/PlayerCommands.h"
#include "player/PlayerParts.h"
#include "player/PointerInput.h"
#include "player/ScreenModes.h"
#include "player/SettingsRoundTrip.h"
#include "ports/CaptionHost.h"
#include "ports/TransportListener.h"

namespace orvalis {

// The player window's logic, plain C++: the widget forwards events here and draws what it is
// told. The controller owns the window's shared parts (PlayerParts) and its roles, and wires
// them: ScreenModes (picture geometry and screen modes), PointerInput (pointer, clicks, drags,
// the bar's showing and hiding), Playback (a medium's start, the tick, seeks, repeat, Close
// File), SettingsRoundTrip (the start's read, the sheet, Exit's write) and PlayerCommands (the
// command table). Its own are the start, the timers, dropped files and Exit; the rest of its
// members forward to a role, and are the interfaces the engine, the bar and the captions use.
class PlayerController final : public EngineHost, public TransportListener, public CaptionHost {
public:
    struct Services {
        SettingsStore& settings;
        TimerService& timers;
        MediaBackend& backend;
        PlayerView& view;
        DesktopServices& desktop;
        Prompter& prompter;
    };

    // commandLinePaths: what the start was given, to add and play once the window is up.
    PlayerController(Services parts, std::vector<std::string> commandLinePaths);
    ~PlayerController() override;

    // The pieces that are windows or subsystems of their own; each may be absent.
    void attachTransport(TransportPort* p) { parts_.transport = p; }
    void attachPlaylist(PlaylistPort* p) { parts_.playlist = p; }
    // The captions bring the handlers of their own commands.
    void attachCaptions(CaptionPort* p) {
        parts_.captions = p;
        if (p) p->registerCommands(commands());
    }
    void attachBookmarks(BookmarkPort* p) { parts_.bookmarks = p; }
    void attachShutdown(ShutdownPort* p) { parts_.shutdown = p; }
    void attachSettingsSheet(SettingsSheetPort* p) { parts_.sheet = p; }
    void attachOsd(OsdPort* p) { parts_.osd = p; }
    void attachCapture(CapturePort* p) { parts_.capture = p; }
    void attachDialogs(DialogPort* p) { parts_.dialogs = p; }

    // Window creation: reads the settings, places and shows the window, starts the timers.
    void initialise();
    void onTimer(TimerId id);
    // The picture can be drawn: the files of the command line need not wait any longer.
    void rendererReady();

    MediaEngine& engine() { return parts_.media(); }
    const WindowSettings& windowSettings() const { return parts_.settings; }
    WindowSettings& windowSettings() { return parts_.settings; }
    const CaptionStyle& captionStyle() const { return parts_.caption; }
    CaptionStyle& captionStyle() { return parts_.caption; }
    const WindowState& state() const { return parts_.state; }
    WindowState& state() { return parts_.state; }

    // Runs a command of the command table; false when it has no handler here.
    bool runCommand(CommandId id) { return commands_.run(id); }
    bool runCommandNumber(int number) { return commands_.runNumber(number); }
    // The handlers of the commands: the controller's own, and whatever else registers there.
    CommandTable& commands() { return commands_.table(); }
    const CommandTable& commands() const { return commands_.table(); }
    VolumeControl& volume() { return parts_.volume; }
    PictureControls& picture() { return parts_.picture; }
    PlaylistPort* playlist() { return parts_.playlist; }
    SettingsStore& store() { return parts_.store; }

    // Commands.
    void closeFile() { playback_.closeFile(); }
    void exit();
    void openSettings() { roundTrip_.openSettings(); }
    void toggleRepeat() { playback_.toggleRepeat(); }
    // The window's screen modes (ScreenModes).
    void toggleFullScreen() { screen_.toggleFullScreen(); }
    void toggleMaximized() { screen_.toggleMaximized(); }
    void zoom(double factor, int code) { screen_.zoom(factor, code); }
    void setAspect(geometry::AspectChoice choice) { screen_.setAspect(choice); }
    void panScanLess() { screen_.panScanLess(); }
    void panScanMore() { screen_.panScanMore(); }
    void panScanNone() { screen_.panScanNone(); }
    void hideMainWindow() { screen_.hideMainWindow(); }
    void showMainWindow() { screen_.showMainWindow(); }
    void showTransportBar(bool shown) { screen_.showTransportBar(shown); }
    void minimize() { screen_.minimize(); }
    // The window manager's own maximize and minimize (its buttons and keys, wmctrl):
    // maximize restores the window and toggles full screen; minimize takes the transport
    // bar away, the window manager having minimised the window.
    void systemMaximize() { screen_.systemMaximize(); }
    void systemMinimized() { screen_.systemMinimized(); }

    // A second start's paths; none only brings the window forward.
    void receiveHandOver(const std::vector<std::string>& paths);
    void dropFiles(const std::vector<std::string>& paths);

    // Window events, in client coordinates of the window (PointerInput).
    using PointerAction = PointerInput::PointerAction;
    PointerAction pointerMoved(geometry::Point client) { return pointer_.pointerMoved(client); }
    // The user drags the window by its inside: the new top-left corner, snapped here.
    void dragTo(geometry::Point topLeft) { pointer_.dragTo(topLeft); }
    // Left button up: a click that neither dragged nor activated pauses or resumes.
    void leftButtonUp(int screenX = 0) { pointer_.leftButtonUp(screenX); }
    // The context menu as it should look now, and its opening and closing.
    MenuState menuState() const { return commands_.menuState(); }
    void contextMenuOpened() { pointer_.contextMenuOpened(); }
    void contextMenuClosed() { pointer_.contextMenuClosed(); }
    // Left button down: the border zone to resize from (1..8), or 0 for a window drag.
    // `activating`: the click brought the window forward from another program.
    int leftButtonDown(geometry::Point client, int screenX = 0, bool activating = false) {
        return pointer_.leftButtonDown(client, screenX, activating);
    }
    // The window is being resized by the user: the proposed rectangle, corrected.
    geometry::Rect sizing(const geometry::Rect& proposed, geometry::SizingEdge edge) {
        return screen_.sizing(proposed, edge);
    }
    void sized() { screen_.sized(); }
    void moved() { screen_.moved(); }

    // EngineHost
    void startPlaybackTick() override { playback_.startTick(); }
    void stopPlaybackTick() override { playback_.stopTick(); }
    void startStartOfPlayback() override;
    void setBusyCursor(bool busy) override;
    void saveBookmarks() override { playback_.saveBookmarks(); }
    void resetCaptionSync() override;
    bool findCaptionFile(const std::string& mediaPath) override;
    void clearCaption() override;
    void afterSeek(double seconds) override;
    void applyVolume() override;
    bool hasVideoSurface() const override;
    bool playlistIsEmpty() const override;
    void playlistPlayEntry(int which) override;
    void playlistPlayPrevious() override;
    void playlistOpaqueForOpen() override;
    void playlistRestoreTransparency() override;
    void playlistOpenRequestDone() override;
    void runCloseFile() override { closeFile(); }
    void runExit() override { exit(); }
    void runOpenFileDialog() override;
    void repaintWindow() override { parts_.view.repaint(); }
    void showPlaying() override;
    void showPaused() override;
    void showStopped() override;
    void pressPlayButtons() override;
    void announceRate(double rate) override;
    bool shiftHeld() const override { return parts_.view.shiftHeld(); }

    // TransportListener: what the user does on the transport bar.
    void seekPreview(int tenths, bool dragging) override { pointer_.seekPreview(tenths, dragging); }
    void seekCommit(int tenths) override { playback_.seekTo(tenths * 0.1); }
    void seekPreviewEnded() override { pointer_.seekPreviewEnded(); }
    void repeatRangeDragged(double start, double end) override {
        playback_.repeatRangeDragged(start, end);
    }
    void repeatRangeDragEnded() override { playback_.repeatRangeDragEnded(); }
    void volumeDragged(int step) override { commands_.changeVolume(step); }
    void pictureChanged(PictureKind kind, int value) override;
    void timeDisplayChanged(bool showsCount) override;
    void holdBar(bool held) override { pointer_.holdBar(held); }

    // CaptionHost
    const EngineFlags& mediaFlags() const override { return parts_.media().flags(); }
    void setCaptionsLoaded(bool loaded) override { parts_.media().flags().captionsLoaded = loaded; }
    void pauseOrResume() override { parts_.media().pause(); }
    CaptionFrame captionFrame() const override { return screen_.captionFrame(); }
    bool fullScreenOrMaximized() const override { return parts_.state.fullScreen(); }
    void exitFullScreen() override { screen_.leaveFullScreen(); }
    void applyCaptionSpace() override { screen_.applyCaptionSpace(); }
    void refreshCaptionButtons() override { parts_.refreshCaptionButtons(); }

    // Called when Exit has run: the process may end.
    std::function<void()> onExited;
    // Called after every seek, whoever asked for it (the desktop's media controls listen).
    std::function<void(double seconds)> onSeeked;

private:
    void deferredInit();

    PlayerParts parts_;
    ScreenModes screen_;
    PointerInput pointer_;
    Playback playback_;
    SettingsRoundTrip roundTrip_;
    PlayerCommands commands_;
    SettingsStore& store_;
    TimerService& timers_;
    PlayerView& view_;
    WindowSettings& settings_;
    CaptionStyle& caption_;
    WindowState& state_;

    std::vector<std::string> commandLinePaths_;
    bool exited_ = false;
};

}  // namespace orvalis
