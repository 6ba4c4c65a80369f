#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orvalis {

class BookmarkService;
class CaptionController;
class CaptionEncodingStore;
class CaptionRenderer;
class CaptureService;
class ControlPanel;
class DesktopAssociations;
class DesktopServices;
class MediaEngine;
class MprisPlayer;
class MprisService;
class MpvBackend;
class MpvSoundPlayer;
class OsdTip;
class PlayerController;
class PlayerDialogs;
class PlayerWindow;
class PlaylistWindow;
class PowerControl;
class Prompter;
class QtTimerService;
class SettingsSheet;
class SettingsStore;
class ShutdownService;
class SingleInstance;
class VideoSurface;
namespace cover {
class CoverArtFiles;
}

// The whole program, built and wired in one place. Widgets never build subsystems: adding
// one means adding a member here. The members are declared in the order they are built, so
// that C++ tears them down in the reverse order, which is the order they must go in: the
// desktop's media interface first, the features next, then the player's logic, the window
// and last of all libmpv.
class Assembly {
public:
    // The services of the desktop that the program stands on. Tests give their own.
    struct Platform {
        SettingsStore& settings;
        MpvBackend& backend;
        Prompter& prompter;
        DesktopServices& desktop;
        PowerControl& power;
    };

    // The program on the desktop: libmpv, Qt's dialogs, the session and the system bus.
    Assembly(SettingsStore& settings, std::vector<std::string> commandLinePaths);
    // The program over the given services.
    Assembly(Platform platform, std::vector<std::string> commandLinePaths);
    ~Assembly();
    Assembly(const Assembly&) = delete;
    Assembly& operator=(const Assembly&) = delete;

    // False when libmpv could not be started: nothing else was built.
    bool valid() const { return window_ != nullptr; }

    // Shows the window as the settings say. The work the first picture does not need (the
    // desktop's media interface, the termination signals) follows once it is on the screen.
    void start();
    // Runs the program until Exit; the second starts' lists come from `instance`.
    int run(SingleInstance& instance);
    void receiveHandOver(const std::vector<std::string>& paths);
    void exitPlayer();

    PlayerWindow& window() { return *window_; }
    PlayerController& controller() { return *controller_; }
    MediaEngine& engine();
    VideoSurface& videoSurface() { return *surface_; }
    OsdTip& osd() { return *osd_; }
    ControlPanel& transportBar() { return *panel_; }
    PlaylistWindow& playlistWindow() { return *playlist_; }
    PlayerDialogs& dialogs() { return *dialogs_; }
    CaptionController& captionController() { return *captions_; }
    // The media-player interface on the session bus; null until the window has shown.
    MprisService* mpris() { return mpris_.get(); }

private:
    struct DesktopPlatform;
    struct LazySheet;
    Assembly(std::unique_ptr<DesktopPlatform> own, const Platform* given,
             std::vector<std::string> commandLinePaths);

    void buildPlayer(std::vector<std::string> commandLinePaths);
    void buildPlaylist();
    void buildExtras();
    void buildSettingsSheet();
    void buildPicture();
    void buildCaptions();
    void afterFirstShow();
    void startDesktopInterface();

    std::unique_ptr<DesktopPlatform> own_;
    SettingsStore& settings_;
    MpvBackend& backend_;
    Prompter& prompter_;
    DesktopServices& desktop_;
    PowerControl& power_;

    std::unique_ptr<PlayerWindow> window_;
    std::unique_ptr<QtTimerService> timers_;
    std::unique_ptr<PlayerController> controller_;
    std::unique_ptr<OsdTip> osd_;
    std::unique_ptr<PlaylistWindow> playlist_;
    std::unique_ptr<PlayerDialogs> dialogs_;
    std::unique_ptr<ShutdownService> shutdown_;
    std::unique_ptr<MpvSoundPlayer> sound_;
    std::unique_ptr<DesktopAssociations> associations_;
    std::unique_ptr<SettingsSheet> sheet_;
    std::unique_ptr<LazySheet> lazySheet_;
    VideoSurface* surface_ = nullptr;  // a child of the window
    std::unique_ptr<ControlPanel> panel_;
    std::unique_ptr<BookmarkService> bookmarks_;
    std::unique_ptr<CaptureService> capture_;
    std::unique_ptr<CaptionEncodingStore> captionEncodings_;
    std::unique_ptr<CaptionRenderer> captionRenderer_;
    std::unique_ptr<CaptionController> captions_;
    std::unique_ptr<cover::CoverArtFiles> covers_;
    std::unique_ptr<MprisPlayer> mprisPlayer_;
    std::unique_ptr<MprisService> mpris_;
    std::function<void()> exited_;
    bool started_ = false;
    bool shown_ = false;
};

}  // namespace orvalis
