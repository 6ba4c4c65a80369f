#pragma once

#include <memory>
#include <string>

#include "base/DesktopServices.h"
#include "base/Prompter.h"
#include "base/SettingsStore.h"
#include "engine/Adjustments.h"
#include "engine/MediaEngine.h"
#include "player/MouseMap.h"
#include "player/PlayerState.h"
#include "ports/BookmarkPort.h"
#include "ports/CaptionPort.h"
#include "ports/CapturePort.h"
#include "ports/DialogPort.h"
#include "ports/OsdPort.h"
#include "ports/PlayerView.h"
#include "ports/PlaylistPort.h"
#include "ports/SettingsSheetPort.h"
#include "ports/ShutdownPort.h"
#include "ports/Timers.h"
#include "ports/TransportPort.h"

namespace orvalis {

// What the roles of the player window share: the services it was built with, the ports
// attached to it (each may be absent), the engine, and the window's settings and state.
// PlayerController owns it; ScreenModes, PointerInput, Playback, SettingsRoundTrip and
// PlayerCommands each hold it by reference.
struct PlayerParts {
    PlayerParts(SettingsStore& s, TimerService& t, MediaBackend& b, PlayerView& v,
                DesktopServices& d, Prompter& p)
        : store(s), timers(t), backend(b), view(v), desktop(d), prompter(p), volume(b) {}

    SettingsStore& store;
    TimerService& timers;
    MediaBackend& backend;
    PlayerView& view;
    DesktopServices& desktop;
    Prompter& prompter;
    std::unique_ptr<MediaEngine> engine;  // built by the controller, which is its host

    TransportPort* transport = nullptr;
    PlaylistPort* playlist = nullptr;
    CaptionPort* captions = nullptr;
    BookmarkPort* bookmarks = nullptr;
    ShutdownPort* shutdown = nullptr;
    SettingsSheetPort* sheet = nullptr;
    OsdPort* osd = nullptr;
    CapturePort* capture = nullptr;
    DialogPort* dialogs = nullptr;

    ClickToggle click;
    VolumeControl volume;
    PictureControls picture;
    WindowSettings settings;
    CaptionStyle caption;
    WindowState state;

    MediaEngine& media() { return *engine; }
    const MediaEngine& media() const { return *engine; }

    void showMessage(const std::string& text, int durationMs = 0) {
        if (osd) osd->show(text, durationMs);
    }
    void clearCaption() {
        if (captions) captions->clearText();
    }
    void playlistPlayEntry(int which) {
        if (playlist) playlist->playEntry(which);
    }
    // The caption state on the transport bar's check boxes and buttons.
    void refreshCaptionButtons();
};

}  // namespace orvalis
