#pragma once

// The player window's timers, each with its own identifier and role.
namespace orvalis {

enum class TimerId {
    DeferredInit = 100,     // deferred initialisation, once
    PointerHide = 101,      // hides the pointer in full screen
    PlaybackTick = 102,     // the 100 ms playback tick
    BarAutoHide = 103,      // hides the transport bar when the pointer leaves
    ClickGuard = 104,       // ends the click guard after a popup menu
    OsdHide = 105,          // hides the on-screen message
    CaptionRedraw = 106,    // redraws the caption once
    CaptionHold = 107,      // clears a caption held too long
    PlaybackStart = 108,    // the start-of-playback step, once
    ShutdownClock = 110,    // scheduled shutdown
};

inline const char* timerRoleName(TimerId id) {
    switch (id) {
        case TimerId::DeferredInit: return "deferredInit";
        case TimerId::PointerHide: return "pointerHide";
        case TimerId::PlaybackTick: return "playbackTick";
        case TimerId::BarAutoHide: return "barAutoHide";
        case TimerId::ClickGuard: return "clickGuard";
        case TimerId::OsdHide: return "osdHide";
        case TimerId::CaptionRedraw: return "captionRedraw";
        case TimerId::CaptionHold: return "captionHold";
        case TimerId::PlaybackStart: return "playbackStart";
        case TimerId::ShutdownClock: return "shutdownClock";
    }
    return "timer";
}

// Starting a running timer restarts it with the new period.
class TimerService {
public:
    virtual ~TimerService() = default;
    virtual void start(TimerId id, int milliseconds) = 0;
    virtual void kill(TimerId id) = 0;
    virtual bool isActive(TimerId id) const = 0;
};

}  // namespace orvalis
