#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/DesktopServices.h"
#include "base/Prompter.h"
#include "base/SettingsKeys.h"
#include "base/SettingsStore.h"
#include "engine/Adjustments.h"
#include "engine/EngineHost.h"
#include "engine/MediaEngine.h"
#include "player/ContextMenu.h"
#include "player/MouseMap.h"
#include "player/PlayerState.h"
#include "ports/BookmarkPort.h"
#include "ports/CaptionHost.h"
#include "ports/CaptionPort.h"
#include "ports/CapturePort.h"
#include "ports/DialogPort.h"
#include "ports/OsdPort.h"
#include "ports/PlayerView.h"
#include "ports/PlaylistPort.h"
#include "ports/SettingsSheetPort.h"
#include "ports/ShutdownPort.h"
#include "ports/Timers.h"
#include "ports/TransportListener.h"
#include "ports/TransportPort.h"

namespace orvalis {

// The player window's logic: its start, its timers and the playback tick, the start of each
// medium, Close File, Exit, the settings round trip, and the window's picture and screen
// modes. It is plain C++: the widget forwards events here and draws what it is told.
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
    void attachTransport(TransportPort* p) { transport_ = p; }
    void attachPlaylist(PlaylistPort* p) { playlist_ = p; }
    void attachCaptions(CaptionPort* p) { captions_ = p; }
    void attachBookmarks(BookmarkPort* p) { bookmarks_ = p; }
    void attachShutdown(ShutdownPort* p) { shutdown_ = p; }
    void attachSettingsSheet(SettingsSheetPort* p) { sheet_ = p; }
    void attachOsd(OsdPort* p) { osd_ = p; }
    void attachCapture(CapturePort* p) { capture_ = p; }
    void attachDialogs(DialogPort* p) { dialogs_ = p; }

    // Window creation: reads the settings, places and shows the window, starts the timers.
    void initialise();
    void onTimer(TimerId id);
    // The picture can be drawn: the files of the command line need not wait any longer.
    void rendererReady();

    MediaEngine& engine() { return *engine_; }
    const WindowSettings& windowSettings() const { return settings_; }
    WindowSettings& windowSettings() { return settings_; }
    const CaptionStyle& captionStyle() const { return caption_; }
    CaptionStyle& captionStyle() { return caption_; }
    const WindowState& state() const { return state_; }
    WindowState& state() { return state_; }
    TimerService& timers() { return timers_; }

    // Runs a command of the command table; false when it has no handler here.
    bool runCommand(CommandId id);
    bool runCommandNumber(int number);
    // The handlers of the commands: the controller's own, and whatever else registers there.
    CommandTable& commands() { return commands_; }
    const CommandTable& commands() const { return commands_; }
    VolumeControl& volume() { return volume_; }
    PictureControls& picture() { return picture_; }
    CaptionPort* captions() { return captions_; }
    PlaylistPort* playlist() { return playlist_; }
    TransportPort* transport() { return transport_; }
    OsdPort* osd() { return osd_; }
    SettingsStore& store() { return store_; }

    // Commands.
    void closeFile();
    void exit();
    void openSettings();
    void toggleRepeat();
    void toggleFullScreen();
    void toggleMaximized();
    void toggleAlwaysOnTop();
    void toggleKeepAspect();
    void zoom(double factor, int code);
    void setAspect(geometry::AspectChoice choice);
    void panScanLess();
    void panScanMore();
    void panScanNone();
    void hideMainWindow();
    void showMainWindow();
    void showTransportBar(bool shown);
    void minimize();
    // The window manager's own maximize and minimize (its buttons and keys, wmctrl):
    // maximize restores the window and toggles full screen; minimize takes the transport
    // bar away, the window manager having minimised the window.
    void systemMaximize();
    void systemMinimized();

    // A second start's paths; none only brings the window forward.
    void receiveHandOver(const std::vector<std::string>& paths);
    void dropFiles(const std::vector<std::string>& paths);

    // Window events, in client coordinates of the window.
    enum class PointerAction { None, StartDrag };
    PointerAction pointerMoved(geometry::Point client);
    // The user drags the window by its inside: the new top-left corner, snapped here.
    void dragTo(geometry::Point topLeft);
    // Left button up: a click that neither dragged nor activated pauses or resumes.
    void leftButtonUp(int screenX = 0);
    // The context menu as it should look now, and its opening and closing.
    MenuState menuState() const;
    void contextMenuOpened();
    void contextMenuClosed();
    // Left button down: the border zone to resize from (1..8), or 0 for a window drag.
    // `activating`: the click brought the window forward from another program.
    int leftButtonDown(geometry::Point client, int screenX = 0, bool activating = false);
    // The window is being resized by the user: the proposed rectangle, corrected.
    geometry::Rect sizing(const geometry::Rect& proposed, geometry::SizingEdge edge);
    void sized();
    void moved();

    // Lays the picture, the caption font and the transport bar out for the window as it is.
    void applyWindowRect(const geometry::Rect& rect);
    void relayout();
    int trackColour() const;

    // EngineHost
    void startPlaybackTick() override;
    void stopPlaybackTick() override;
    void startStartOfPlayback() override;
    void setBusyCursor(bool busy) override;
    void saveBookmarks() override;
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
    void repaintWindow() override { view_.repaint(); }
    void showPlaying() override;
    void showPaused() override;
    void showStopped() override;
    void pressPlayButtons() override;
    void announceRate(double rate) override;
    bool shiftHeld() const override { return view_.shiftHeld(); }

    // TransportListener: what the user does on the transport bar.
    void seekPreview(int tenths, bool dragging) override;
    void seekCommit(int tenths) override;
    void seekPreviewEnded() override;
    void repeatRangeDragged(double start, double end) override;
    void repeatRangeDragEnded() override;
    void volumeDragged(int step) override;
    void pictureChanged(PictureKind kind, int value) override;
    void timeDisplayChanged(bool showsCount) override;
    void holdBar(bool held) override;

    // CaptionHost
    const EngineFlags& mediaFlags() const override { return engine_->flags(); }
    void setCaptionsLoaded(bool loaded) override { engine_->flags().captionsLoaded = loaded; }
    void pauseOrResume() override { engine_->pause(); }
    CaptionFrame captionFrame() const override;
    bool fullScreenOrMaximized() const override { return state_.fullScreen(); }
    void exitFullScreen() override { leaveFullScreen(); }
    void applyCaptionSpace() override;
    void refreshCaptionButtons() override;

    // Called when Exit has run: the process may end.
    std::function<void()> onExited;
    // Called after every seek, whoever asked for it (the desktop's media controls listen).
    std::function<void(double seconds)> onSeeked;

private:
    void readSettings(settings::Context context);
    void normaliseSettings();
    void deferredInit();
    void playbackTick();
    TickInput tickInput() const;
    void followLength(double duration);
    void loadBookmarks(double duration);
    void endOfMedium();
    void startOfPlayback();
    void determineIdleSize();
    void enterFullScreen(const std::optional<geometry::Rect>& normal = std::nullopt);
    void leaveFullScreen();
    void writeScreenRect(const geometry::Rect& r);
    void zoomTo(double factor);
    void rereadAfterSettings();
    void seekTo(double seconds);
    void jump(CommandId id);
    void changeVolume(int step);
    void changePicture(PictureKind kind, int change);
    void setRepeatPoint(CommandId id);
    void growOrShrink(bool grow);
    void registerCommands();
    void moveTray(int drive, bool open);
    bool bookmarksReady() const { return bookmarks_ && bookmarksHeld_; }
    void showMessage(const std::string& text, int durationMs = 0);
    void showPanScan();
    void pointerHideTick();
    void barAutoHideTick();

    SettingsStore& store_;
    TimerService& timers_;
    MediaBackend& backend_;
    PlayerView& view_;
    DesktopServices& desktop_;
    Prompter& prompter_;
    std::unique_ptr<MediaEngine> engine_;

    TransportPort* transport_ = nullptr;
    PlaylistPort* playlist_ = nullptr;
    CaptionPort* captions_ = nullptr;
    BookmarkPort* bookmarks_ = nullptr;
    ShutdownPort* shutdown_ = nullptr;
    SettingsSheetPort* sheet_ = nullptr;
    OsdPort* osd_ = nullptr;
    CapturePort* capture_ = nullptr;
    DialogPort* dialogs_ = nullptr;

    CommandTable commands_;
    ClickToggle click_;
    VolumeControl volume_;
    PictureControls picture_;
    WindowSettings settings_;
    CaptionStyle caption_;
    WindowState state_;
    std::vector<std::string> commandLinePaths_;
    RepeatSeekGuard repeatGuard_;
    double shownDuration_ = 0.0;              // the length the transport bar was last given
    std::optional<double> lastTickPosition_;  // where the last tick found the medium
    static constexpr int kStillTicksBeforeParking = 5;
    int stillTicks_ = 0;          // ticks in a row that found a paused medium where it was
    bool tickParked_ = false;     // stopped for a paused medium; a seek or resume restarts it
    bool bookmarksHeld_ = false;  // the medium's bookmarks were loaded and are to be saved
    bool exited_ = false;
    bool snapping_ = true;
};

}  // namespace orvalis
