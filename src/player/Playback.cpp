#include "player/Playback.h"

#include <cmath>

#include "base/Naming.h"
#include "base/SettingsKeys.h"
#include "player/Jumps.h"
#include "player/OsdMessages.h"

namespace orvalis {

using geometry::Rect;

Playback::Playback(PlayerParts& parts, ScreenModes& screen)
    : parts_(parts),
      screen_(screen),
      store_(parts.store),
      timers_(parts.timers),
      settings_(parts.settings),
      state_(parts.state) {}

// ---------------------------------------------------------------------------------------------
// The tick

TickInput Playback::tickInput() const {
    const MediaEngine& e = parts_.media();
    TickInput in;
    in.position = e.knownPosition();
    in.duration = e.duration();
    in.endReached = e.atEnd();
    in.seekable = e.seekable() && !repeatGuard_.refused();
    in.repeat = settings_.repeat;
    if (settings::get(store_, keys::UseSkip))
        in.skipEndSeconds =
            settings::get(store_, keys::SkipEndMin) * 60 + settings::get(store_, keys::SkipEndSec);
    in.range = state_.range;
    return in;
}

void Playback::tick() {
    MediaEngine& e = parts_.media();
    if (!e.flags().loaded) return;
    followLength(e.duration());
    // A paused medium that has not moved has nothing new for the bar, the captions or the
    // repeat rules; a seek while paused moves it, and the end is always looked at.
    const std::optional<double> position = e.knownPosition();
    const bool still = e.flags().paused && !e.atEnd() && position && position == lastTickPosition_;
    lastTickPosition_ = position;
    if (still) {
        // Settled: nothing wakes a paused player until it is resumed or sought.
        if (++stillTicks_ >= kStillTicksBeforeParking) {
            stopTick();
            tickParked_ = true;
        }
        return;
    }
    stillTicks_ = 0;
    TickInput in = tickInput();
    TickDecision d = decideTick(in);
    using Action = TickDecision::Action;
    if (d.action == Action::SeekBack) {
        if (repeatGuard_.allow(*in.position)) {
            e.restartAt(d.target);
            return;
        }
        if (!repeatGuard_.refused()) return;  // the seek has not landed yet
        in.seekable = false;
        d = decideTick(in);
    } else if (in.position) {
        repeatGuard_.observe(*in.position);
    }
    if (d.action == Action::Wait) return;
    if (in.position && parts_.transport) parts_.transport->setPosition(*in.position);
    if (d.action == Action::EndOfMedium) {
        endOfMedium();
        return;
    }
    if (e.flags().captionsLoaded && parts_.captions) parts_.captions->lookup(*in.position);
}

// A length unknown at the start, or one that changes while the medium plays (a growing
// file, a variable bit rate estimate), reaches the transport bar and the bookmarks.
void Playback::followLength(double duration) {
    if (duration <= 0) return;
    if (shownDuration_ > 0 && std::abs(duration - shownDuration_) < 0.5) return;
    const bool firstKnown = shownDuration_ <= 0;
    shownDuration_ = duration;
    if (parts_.transport) {
        parts_.transport->setDuration(duration);
        parts_.transport->updateRepeatRange(state_.range.start, state_.range.endFor(duration));
    }
    if (firstKnown && !bookmarksHeld_) loadBookmarks(duration);
}

void Playback::loadBookmarks(double duration) {
    if (!parts_.bookmarks) return;
    parts_.bookmarks->load(parts_.engine->currentFile(), duration);
    bookmarksHeld_ = duration > 0;
}

void Playback::endOfMedium() {
    MediaEngine& e = parts_.media();
    if (parts_.shutdown && parts_.shutdown->atEndOfMedium()) {
        parts_.shutdown->runShutdown();
        return;
    }
    if (settings::get(store_, keys::PlayContinue)) {
        e.releaseSleep();
        parts_.playlistPlayEntry(-1);
        return;
    }
    e.setPosition(0.0);
    e.stop();
}

void Playback::startOfPlayback() {
    MediaEngine& e = parts_.media();
    if (!e.flags().loaded) return;
    const double duration = e.duration();
    parts_.clearCaption();
    state_.range.clear();
    repeatGuard_.reset();
    shownDuration_ = duration;
    if (parts_.shutdown) parts_.shutdown->clearEndOfMedium();

    if (parts_.transport) {
        parts_.transport->setDuration(duration);
        parts_.transport->showPlaying();
        parts_.transport->setTitle(std::string(fileNamePart(e.currentFile())));
        parts_.transport->updateRepeatRange(0, state_.range.endFor(duration));
    }
    if (parts_.playlist) parts_.playlist->showPlaying();

    const bool hasVideo = e.flags().hasVideo;
    if (settings_.autoHideOnAudio && !hasVideo && settings_.showMainDlg && parts_.playlist &&
        parts_.playlist->isShown()) {
        if (state_.fullScreen()) screen_.leaveFullScreen();
        screen_.hideMainWindow();
    }

    screen_.determineIdleSize();
    if (hasVideo) {
        if (!settings_.showMainDlg) screen_.showMainWindow();
        state_.native = {e.videoWidth() > 0 ? e.videoWidth() : geometry::kIdlePictureSize.width,
                         e.videoHeight() > 0 ? e.videoHeight() : geometry::kIdlePictureSize.height};
    } else {
        state_.native = state_.idleSize;
        parts_.clearCaption();
        parts_.view.repaint();
    }

    state_.aspect = static_cast<double>(state_.native.width) / state_.native.height;
    if (!state_.fullScreen() && settings_.keepAspect) {
        // A picture larger than the screen gets a window that fits, in its proportions.
        const Rect screen = parts_.view.screenRect();
        Rect r = parts_.view.windowRect();
        if (hasVideo) {
            r.right = r.left + state_.native.width;
            r.bottom = r.top + static_cast<int>(r.width() / state_.aspect);
            screen_.applyWindowRect(geometry::fitInside(r, screen));
        }
        if (e.flags().captionsLoaded) {
            r = geometry::rectForNativeSize(parts_.view.windowRect(), state_.native,
                                            parts_.caption.captionSpace, &state_.aspect);
            screen_.applyWindowRect(geometry::fitInside(r, screen));
        }
    }
    screen_.relayout();

    if (settings::get(store_, keys::UseSkip)) {
        const int start = settings::get(store_, keys::SkipStartMin) * 60 +
                          settings::get(store_, keys::SkipStartSec);
        if (start > 0 && e.seekable()) e.setPosition(start);
    }
    // Streams too: their end, when they have one, is found by the tick.
    startTick();
    // Without a length none can be loaded: the list is emptied, and neither used nor saved
    // (which would drop the stored ones) until the length is known.
    loadBookmarks(duration);
    parts_.refreshCaptionButtons();
    e.startRunning();
    if (parts_.transport) parts_.transport->refresh();
    e.flags().opening = false;
}

// ---------------------------------------------------------------------------------------------
// Close File

void Playback::closeFile() {
    MediaEngine& e = parts_.media();
    if (e.flags().loaded) {
        stopTick();
        saveBookmarks();
        e.closeMedia();
    }
    e.flags().loaded = false;
    e.flags().captionsLoaded = false;
    e.flags().opening = false;
    e.clearFilters();
    if (parts_.captions) parts_.captions->unload();
    screen_.determineIdleSize();
    state_.native = state_.idleSize;
    state_.aspect = static_cast<double>(state_.idleSize.width) / state_.idleSize.height;
    parts_.view.repaint();

    screen_.showTransportBar(false);
    if (state_.fullScreen()) screen_.leaveFullScreen();
    if (settings_.keepAspect) screen_.zoom(1.0, 3);
    screen_.relayout();

    if (parts_.transport) {
        parts_.transport->setDuration(0);
        parts_.transport->setPosition(0);
        parts_.transport->disableButtons();
    }
    parts_.refreshCaptionButtons();
    if (parts_.playlist) parts_.playlist->disableButtons();
    e.releaseSleep();
}

// ---------------------------------------------------------------------------------------------
// Seeks, repeat and bookmarks

void Playback::toggleRepeat() {
    settings_.repeat = !settings_.repeat;
    if (parts_.transport) parts_.transport->setTrackColour(screen_.trackColour());
}

// The tick runs while a medium is open, except while a paused one stays where it is.
void Playback::startTick() {
    tickParked_ = false;
    stillTicks_ = 0;
    timers_.start(TimerId::PlaybackTick, 100);
}

void Playback::stopTick() {
    tickParked_ = false;
    timers_.kill(TimerId::PlaybackTick);
}

void Playback::saveBookmarks() {
    if (parts_.bookmarks && bookmarksHeld_) parts_.bookmarks->save();
    bookmarksHeld_ = false;
}

void Playback::afterSeek(double seconds) {
    if (tickParked_) startTick();  // the paused medium moves: follow it again
    if (parts_.captions) parts_.captions->afterSeek(seconds);
    if (parts_.transport) parts_.transport->setPosition(seconds);
}

void Playback::seekTo(double seconds) {
    if (!parts_.engine->flags().loaded) return;
    parts_.clearCaption();
    parts_.engine->setPosition(seconds);
}

void Playback::jump(CommandId id) {
    MediaEngine& e = parts_.media();
    if (!e.flags().loaded) return;
    Playhead head{true, e.position(), e.duration(), state_.range.start};
    if (auto target = seekTarget(id, head, JumpSettings::read(store_))) seekTo(*target);
}

void Playback::setRepeatPoint(CommandId id) {
    MediaEngine& e = parts_.media();
    if (!e.flags().loaded) return;
    const double p = e.position();
    RepeatRange& r = state_.range;
    switch (id) {
        case CommandId::RepeatSetStart:
            r.start = p;
            if (r.endSet && r.end <= r.start) r.endSet = false;
            break;
        case CommandId::RepeatSetEnd:
            r.end = p;
            r.endSet = true;
            if (r.end <= r.start) r.start = 0;
            break;
        case CommandId::RepeatClearStart:
            r.start = 0;
            break;
        case CommandId::RepeatClearEnd:
            r.endSet = false;
            break;
        default:
            r.clear();
            break;
    }
    r.settle();
    repeatGuard_.reset();
    const double b = r.endFor(e.duration());
    if (parts_.transport) parts_.transport->updateRepeatRange(r.start, b);
    parts_.showMessage(osd::repeatRangeText(r.start, b, false));
}

void Playback::repeatRangeDragged(double start, double end) {
    timers_.kill(TimerId::BarAutoHide);
    // The bar's right end is the end of the medium, wherever that turns out to be.
    const double duration = parts_.engine->duration();
    RepeatRange& r = state_.range;
    r.start = start;
    r.endSet = duration <= 0 || end < duration;
    r.end = end;
    r.settle();
    repeatGuard_.reset();
    state_.rangeEditing = true;
    parts_.showMessage(osd::repeatRangeText(start, end, parts_.view.shiftHeld()), -1);
    if (parts_.transport) parts_.transport->updateRepeatRange(start, end);
}

void Playback::repeatRangeDragEnded() {
    if (parts_.osd) parts_.osd->hide();
    state_.rangeEditing = false;
    timers_.start(TimerId::BarAutoHide, 500);
}

}  // namespace orvalis
