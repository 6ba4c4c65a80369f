#pragma once

#include <optional>

#include "player/PlaybackTick.h"
#include "player/PlayerParts.h"
#include "player/ScreenModes.h"
#include "ports/Commands.h"

namespace orvalis {

// Playback in the player window: the start of each medium and Close File, the 100 ms tick
// (position, captions, skip-end, repeat of the item, the A-B range and the end of the medium),
// seeks and jumps, and the medium's bookmarks, loaded once its length is known.
class Playback {
public:
    Playback(PlayerParts& parts, ScreenModes& screen);

    // The medium has opened: the window, the bar and the tick take it up.
    void startOfPlayback();
    void closeFile();

    void startTick();
    void stopTick();
    void tick();

    void seekTo(double seconds);
    void jump(CommandId id);
    // A seek has landed, whoever asked for it.
    void afterSeek(double seconds);
    void toggleRepeat();
    // The A-B range: a point set or cleared by command, or the range dragged on the bar.
    void setRepeatPoint(CommandId id);
    void repeatRangeDragged(double start, double end);
    void repeatRangeDragEnded();

    // Bookmarks never loaded for this medium are not saved: that would drop its stored ones.
    void saveBookmarks();
    bool bookmarksReady() const { return parts_.bookmarks && bookmarksHeld_; }

private:
    TickInput tickInput() const;
    void followLength(double duration);
    void loadBookmarks(double duration);
    void endOfMedium();

    PlayerParts& parts_;
    ScreenModes& screen_;
    SettingsStore& store_;
    TimerService& timers_;
    WindowSettings& settings_;
    WindowState& state_;

    RepeatSeekGuard repeatGuard_;
    double shownDuration_ = 0.0;              // the length the transport bar was last given
    std::optional<double> lastTickPosition_;  // where the last tick found the medium
    static constexpr int kStillTicksBeforeParking = 5;
    int stillTicks_ = 0;          // ticks in a row that found a paused medium where it was
    bool tickParked_ = false;     // stopped for a paused medium; a seek or resume restarts it
    bool bookmarksHeld_ = false;  // the medium's bookmarks were loaded and are to be saved
};

}  // namespace orvalis
