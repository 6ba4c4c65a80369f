#include "player/PlayerController.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/Naming.h"
#include "base/SettingsKeys.h"
#include "base/Startup.h"
#include "player/OsdMessages.h"

namespace orvalis {

using geometry::Rect;
using geometry::ScreenMode;

PlayerController::PlayerController(Services parts, std::vector<std::string> commandLinePaths)
    : store_(parts.settings),
      timers_(parts.timers),
      backend_(parts.backend),
      view_(parts.view),
      desktop_(parts.desktop),
      prompter_(parts.prompter),
      volume_(parts.backend),
      commandLinePaths_(std::move(commandLinePaths)) {
    engine_ = std::make_unique<MediaEngine>(parts.backend, *this, store_, desktop_, prompter_);
    registerCommands();
}

PlayerController::~PlayerController() = default;

// ---------------------------------------------------------------------------------------------
// Start

// The values the player keeps from the store. The start reads them all; when the settings
// sheet closes the player reads again what the sheet shows, some with defaults of their own.
void PlayerController::readSettings(settings::Context context) {
    using settings::get;
    WindowSettings& s = settings_;
    CaptionStyle& c = caption_;
    if (context == settings::Context::AtStart) {
        s.repeat = get(store_, keys::Repeat);
        s.showMainDlg = get(store_, keys::ShowMainDlg);
        s.alwaysOnTop = get(store_, keys::AlwaysOnTop);
        s.showPlayList = get(store_, keys::ShowPlayList);
        s.keepAspect = get(store_, keys::AspectRatio);
        volume_.load(store_);
        c.captionBottom = get(store_, keys::CaptionBottom);
        c.showCaption = get(store_, keys::ShowCaption);
    } else {
        state_.captionSync = get(store_, keys::CaptionSynch, context);
    }
    s.interval = get(store_, keys::Interval, context);
    s.intervalCtrl = get(store_, keys::IntervalCtrl, context);
    s.showFrameNumber = get(store_, keys::ShowFrameNumber, context);
    s.autoHideOnAudio = get(store_, keys::AutoHideOnAudio, context);
    s.backMode = get(store_, keys::BackMode, context);
    s.backColor = get(store_, keys::BackColor, context);
    s.backImage = get(store_, keys::BackImage, context);

    c.fontName = get(store_, keys::FontName, context);
    c.fontSize = get(store_, keys::FontSize, context);
    c.fontOffset = get(store_, keys::FontOffset, context);
    c.fontBold = get(store_, keys::FontBold, context);
    c.fontAlias = get(store_, keys::FontAlias, context);
    c.fontBorder = get(store_, keys::FontBorder, context);
    c.captionMargin = get(store_, keys::CaptionMargin, context);
    c.captionSpace = get(store_, keys::CaptionSpace, context);
    c.fontColor = get(store_, keys::FontColor, context);
    c.borderColor = get(store_, keys::BorderColor, context);
}

void PlayerController::normaliseSettings() {
    CaptionStyle& c = caption_;
    if (c.fontBorder) c.fontAlias = false;
    if (c.fontSize + c.fontOffset < 10 || c.fontSize + c.fontOffset > 70) {
        c.fontSize = 20;
        c.fontOffset = 0;
    }
    if (c.captionBottom < 0 || c.captionBottom > 50) c.captionBottom = 10;
    // Values no window could use: the caption room is at most 30 % (as its command allows).
    c.captionSpace = std::clamp(c.captionSpace, 0, 30);
    if (!settings_.showMainDlg && !settings_.showPlayList) {
        settings_.showMainDlg = true;
        settings_.showPlayList = true;
    }
}

void PlayerController::determineIdleSize() {
    state_.idleSize = geometry::kIdlePictureSize;
    if (settings_.backMode == 0) {
        if (auto size = view_.backgroundImageSize(); size && size->width > 0 && size->height > 0)
            state_.idleSize = *size;
    }
}

void PlayerController::initialise() {
    readSettings(settings::Context::AtStart);
    normaliseSettings();
    if (captions_) captions_->createFont();
    view_.setBackground(settings_.backMode, settings_.backColor, settings_.backImage);
    determineIdleSize();
    state_.native = state_.idleSize;
    state_.aspect = static_cast<double>(state_.idleSize.width) / state_.idleSize.height;

    if (transport_) {
        transport_->setDuration(0);
        transport_->place(geometry::transportBarRect(view_.windowRect(), 60), false);
        transport_->setVolumeStep(volume_.step());
        transport_->showMuteState(volume_.muted());
        transport_->setShowFrameNumber(settings_.showFrameNumber);
        transport_->setPictureValues(picture_);
    }
    state_.barHeight = 60;
    // The toggle restores the stored value and gives the track its colour.
    settings_.repeat = !settings_.repeat;
    toggleRepeat();

    geometry::SavedPlacement saved;
    saved.left = settings::get(store_, keys::ScreenLeft);
    saved.top = settings::get(store_, keys::ScreenTop);
    saved.right = settings::getOr(store_, keys::ScreenRight, saved.left + 366);
    if (!settings_.keepAspect)
        saved.bottom = settings::getOr(store_, keys::ScreenBottom, saved.top + 272);
    Rect start = geometry::startPlacement(saved, settings_.keepAspect, state_.idleSize, view_.screenRect());
    state_.normalRect = start;
    applyWindowRect(start);

    if (settings_.showMainDlg) {
        view_.setWindowShown(true);
    } else {
        settings_.showMainDlg = true;
        hideMainWindow();
    }
    timers_.start(TimerId::BarAutoHide, 500);
    view_.setTopMost(settings_.alwaysOnTop);
    timers_.start(TimerId::DeferredInit, 100);
    state_.initialised = true;
}

// libmpv gives up a video track it cannot draw, so the command line's files wait for the
// renderer; once it is there they open at once rather than when the start-up timer fires.
void PlayerController::rendererReady() {
    if (!timers_.isActive(TimerId::DeferredInit)) return;
    timers_.kill(TimerId::DeferredInit);
    deferredInit();
}

void PlayerController::deferredInit() {
    if (playlist_) playlist_->setShown(settings_.showPlayList);
    if (!commandLinePaths_.empty() && playlist_) playlist_->addPaths(commandLinePaths_);
    commandLinePaths_.clear();
    if (playlist_ && settings::get(store_, keys::AutoCheck)) playlist_->checkPaths();
    if (playlist_) playlist_->repaint();
    if (settings::get(store_, keys::SaveMaximized) && settings::get(store_, keys::Maximized))
        enterFullScreen();
    if (transport_) transport_->refresh();
}

void PlayerController::receiveHandOver(const std::vector<std::string>& paths) {
    if (!paths.empty() && playlist_) playlist_->addPaths(paths);
}

// ---------------------------------------------------------------------------------------------
// Timers

void PlayerController::onTimer(TimerId id) {
    switch (id) {
        case TimerId::DeferredInit:
            timers_.kill(id);
            deferredInit();
            break;
        case TimerId::PointerHide:
            pointerHideTick();
            break;
        case TimerId::PlaybackTick:
            playbackTick();
            break;
        case TimerId::BarAutoHide:
            barAutoHideTick();
            break;
        case TimerId::ClickGuard:
            timers_.kill(id);
            click_.guardElapsed();
            break;
        case TimerId::OsdHide:
            timers_.kill(id);
            if (osd_) osd_->hide();
            break;
        case TimerId::CaptionRedraw:
            timers_.kill(id);
            if (captions_) captions_->draw();
            break;
        case TimerId::CaptionHold:
            if (captions_) captions_->holdExpired(engine_->flags().playing, engine_->flags().paused);
            break;
        case TimerId::PlaybackStart:
            timers_.kill(id);
            startOfPlayback();
            break;
        case TimerId::ShutdownClock:
            if (shutdown_) shutdown_->clockTick();
            break;
    }
}

void PlayerController::pointerHideTick() {
    if (++state_.cursorIdle < 2) return;
    const bool playlistHidden = !playlist_ || !playlist_->isShown();
    if (playlistHidden && !timers_.isActive(TimerId::ClickGuard)) {
        view_.setPointer(PointerShape::Blank);
        timers_.kill(TimerId::PointerHide);
        state_.cursorIdle = 0;
        state_.idleCursor = view_.cursorPos();
    }
}

void PlayerController::barAutoHideTick() {
    Rect r = view_.windowRect();
    r.bottom -= 5;
    if (!r.contains(view_.cursorPos())) {
        if (state_.barShown) showTransportBar(false);
        if (captions_) captions_->draw();
        timers_.kill(TimerId::BarAutoHide);
    }
}

TickInput PlayerController::tickInput() const {
    const MediaEngine& e = *engine_;
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

void PlayerController::playbackTick() {
    MediaEngine& e = *engine_;
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
            stopPlaybackTick();
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
    if (in.position && transport_) transport_->setPosition(*in.position);
    if (d.action == Action::EndOfMedium) {
        endOfMedium();
        return;
    }
    if (e.flags().captionsLoaded && captions_) captions_->lookup(*in.position);
}

// A length unknown at the start, or one that changes while the medium plays (a growing
// file, a variable bit rate estimate), reaches the transport bar and the bookmarks.
void PlayerController::followLength(double duration) {
    if (duration <= 0) return;
    if (shownDuration_ > 0 && std::abs(duration - shownDuration_) < 0.5) return;
    const bool firstKnown = shownDuration_ <= 0;
    shownDuration_ = duration;
    if (transport_) {
        transport_->setDuration(duration);
        transport_->updateRepeatRange(state_.range.start, state_.range.endFor(duration));
    }
    if (firstKnown && !bookmarksHeld_) loadBookmarks(duration);
}

void PlayerController::loadBookmarks(double duration) {
    if (!bookmarks_) return;
    bookmarks_->load(engine_->currentFile(), duration);
    bookmarksHeld_ = duration > 0;
}

void PlayerController::endOfMedium() {
    MediaEngine& e = *engine_;
    if (shutdown_ && shutdown_->atEndOfMedium()) {
        shutdown_->runShutdown();
        return;
    }
    if (settings::get(store_, keys::PlayContinue)) {
        e.releaseSleep();
        playlistPlayEntry(-1);
        return;
    }
    e.setPosition(0.0);
    e.stop();
}

void PlayerController::startOfPlayback() {
    MediaEngine& e = *engine_;
    if (!e.flags().loaded) return;
    const double duration = e.duration();
    clearCaption();
    state_.range.clear();
    repeatGuard_.reset();
    shownDuration_ = duration;
    if (shutdown_) shutdown_->clearEndOfMedium();

    if (transport_) {
        transport_->setDuration(duration);
        transport_->showPlaying();
        transport_->setTitle(std::string(fileNamePart(e.currentFile())));
        transport_->updateRepeatRange(0, state_.range.endFor(duration));
    }
    if (playlist_) playlist_->showPlaying();

    const bool hasVideo = e.flags().hasVideo;
    if (settings_.autoHideOnAudio && !hasVideo && settings_.showMainDlg && playlist_ &&
        playlist_->isShown()) {
        if (state_.fullScreen()) leaveFullScreen();
        hideMainWindow();
    }

    determineIdleSize();
    if (hasVideo) {
        if (!settings_.showMainDlg) showMainWindow();
        state_.native = {e.videoWidth() > 0 ? e.videoWidth() : geometry::kIdlePictureSize.width,
                         e.videoHeight() > 0 ? e.videoHeight() : geometry::kIdlePictureSize.height};
    } else {
        state_.native = state_.idleSize;
        clearCaption();
        view_.repaint();
    }

    state_.aspect = static_cast<double>(state_.native.width) / state_.native.height;
    if (!state_.fullScreen() && settings_.keepAspect) {
        // A picture larger than the screen gets a window that fits, in its proportions.
        const Rect screen = view_.screenRect();
        Rect r = view_.windowRect();
        if (hasVideo) {
            r.right = r.left + state_.native.width;
            r.bottom = r.top + static_cast<int>(r.width() / state_.aspect);
            applyWindowRect(geometry::fitInside(r, screen));
        }
        if (e.flags().captionsLoaded) {
            r = geometry::rectForNativeSize(view_.windowRect(), state_.native, caption_.captionSpace,
                                            &state_.aspect);
            applyWindowRect(geometry::fitInside(r, screen));
        }
    }
    relayout();

    if (settings::get(store_, keys::UseSkip)) {
        const int start = settings::get(store_, keys::SkipStartMin) * 60 +
                          settings::get(store_, keys::SkipStartSec);
        if (start > 0 && e.seekable()) e.setPosition(start);
    }
    // Streams too: their end, when they have one, is found by the tick.
    startPlaybackTick();
    // Without a length none can be loaded: the list is emptied, and neither used nor saved
    // (which would drop the stored ones) until the length is known.
    loadBookmarks(duration);
    refreshCaptionButtons();
    e.startRunning();
    if (transport_) transport_->refresh();
    e.flags().opening = false;
}

// ---------------------------------------------------------------------------------------------
// Close File, Exit, Settings

void PlayerController::closeFile() {
    MediaEngine& e = *engine_;
    if (e.flags().loaded) {
        stopPlaybackTick();
        saveBookmarks();
        e.closeMedia();
    }
    e.flags().loaded = false;
    e.flags().captionsLoaded = false;
    e.flags().opening = false;
    e.clearFilters();
    if (captions_) captions_->unload();
    determineIdleSize();
    state_.native = state_.idleSize;
    state_.aspect = static_cast<double>(state_.idleSize.width) / state_.idleSize.height;
    view_.repaint();

    showTransportBar(false);
    if (state_.fullScreen()) leaveFullScreen();
    if (settings_.keepAspect) zoom(1.0, 3);
    relayout();

    if (transport_) {
        transport_->setDuration(0);
        transport_->setPosition(0);
        transport_->disableButtons();
    }
    refreshCaptionButtons();
    if (playlist_) playlist_->disableButtons();
    e.releaseSleep();
}

void PlayerController::exit() {
    if (exited_) return;
    exited_ = true;
    MediaEngine& e = *engine_;
    e.releaseSleep();
    view_.setWindowShown(false);

    using settings::put;
    SettingsBatch batch(store_);
    put(store_, keys::Maximized, state_.fullScreen());
    if (state_.fullScreen()) leaveFullScreen();
    Rect r = view_.windowRect();
    if (r.empty()) r = state_.normalRect;
    put(store_, keys::Repeat, settings_.repeat);
    writeScreenRect(r);
    put(store_, keys::ShowMainDlg, settings_.showMainDlg);
    put(store_, keys::AlwaysOnTop, settings_.alwaysOnTop);
    put(store_, keys::AspectRatio, settings_.keepAspect);
    put(store_, keys::ShowPlayList, playlist_ ? playlist_->isShown() : settings_.showPlayList);
    put(store_, keys::Volume, volume_.step());
    put(store_, keys::Mute, volume_.muted());
    put(store_, keys::ShowFrameNumber, settings_.showFrameNumber);
    put(store_, keys::BackMode, settings_.backMode);
    put(store_, keys::BackImage, settings_.backImage);
    put(store_, keys::FontSize, caption_.fontSize);
    put(store_, keys::FontBold, caption_.fontBold);
    put(store_, keys::FontBorder, caption_.fontBorder);
    put(store_, keys::FontOffset, caption_.fontOffset);
    put(store_, keys::FontAlias, caption_.fontAlias);
    put(store_, keys::CaptionBottom, caption_.captionBottom);
    put(store_, keys::CaptionSpace, caption_.captionSpace);
    put(store_, keys::ShowCaption, caption_.showCaption);
    picture_.save(store_);
    if (e.flags().loaded) {
        saveBookmarks();
        closeFile();
    }
    stopPlaybackTick();
    if (onExited) onExited();
}

void PlayerController::openSettings() {
    timers_.kill(TimerId::PointerHide);
    state_.cursorIdle = 0;
    PlayerLiveValues live;
    live.fontSize = caption_.fontSize;
    live.fontOffset = caption_.fontOffset;
    live.fontBold = caption_.fontBold;
    live.fontAlias = caption_.fontAlias;
    live.fontBorder = caption_.fontBorder;
    live.captionSynch = captions_ ? captions_->syncOffset() : state_.captionSync;
    live.captionSpace = caption_.captionSpace;
    live.showFrameNumber = settings_.showFrameNumber;
    live.backMode = settings_.backMode;
    live.backImage = settings_.backImage;
    writeLiveValues(store_, live);
    const int divideLength = settings::get(store_, keys::CaptionDivideLength);

    MediaEngine& e = *engine_;
    state_.settingsOpen = true;
    const bool wasPlaying = e.flags().hasVideo && e.flags().playing;
    if (wasPlaying) e.pause();
    const bool accepted = sheet_ && sheet_->run();
    state_.settingsOpen = false;
    if (!accepted) {
        if (wasPlaying && e.flags().paused) e.pause();
        return;
    }
    rereadAfterSettings();
    if (!settings::get(store_, keys::UseBookmark) && transport_) transport_->clearBookmarkMarks();
    if (bookmarks_) bookmarks_->refreshMarks();
    if (playlist_) playlist_->setShowControls(settings::get(store_, keys::ShowControls));
    if (e.flags().captionsLoaded && captions_ &&
        settings::get(store_, keys::CaptionDivideLength) != divideLength)
        captions_->reparse();
    view_.setBackground(settings_.backMode, settings_.backColor, settings_.backImage);
    if (!e.flags().hasVideo) {
        determineIdleSize();
        state_.native = state_.idleSize;
    }
    if (captions_) captions_->createFont();
    if (transport_) {
        transport_->refresh();
        transport_->setShowFrameNumber(settings_.showFrameNumber);
        transport_->setPosition(e.position());
    }
    refreshCaptionButtons();
    view_.repaint();
    if (wasPlaying && e.flags().paused) e.pause();
}

void PlayerController::rereadAfterSettings() {
    readSettings(settings::Context::AfterSheet);
    caption_.captionSpace = std::clamp(caption_.captionSpace, 0, 30);
    if (captions_) captions_->setSyncOffset(state_.captionSync);
    relayout();
}

// ---------------------------------------------------------------------------------------------
// EngineHost

void PlayerController::startPlaybackTick() {
    tickParked_ = false;
    stillTicks_ = 0;
    timers_.start(TimerId::PlaybackTick, 100);
}

void PlayerController::stopPlaybackTick() {
    tickParked_ = false;
    timers_.kill(TimerId::PlaybackTick);
}
void PlayerController::startStartOfPlayback() { timers_.start(TimerId::PlaybackStart, 10); }

void PlayerController::setBusyCursor(bool busy) {
    view_.setPointer(busy ? PointerShape::Wait : PointerShape::Arrow);
}

// Bookmarks never loaded for this medium are not saved: that would drop its stored ones.
void PlayerController::saveBookmarks() {
    if (bookmarks_ && bookmarksHeld_) bookmarks_->save();
    bookmarksHeld_ = false;
}

void PlayerController::resetCaptionSync() {
    state_.captionSync = 0;
    if (captions_) captions_->resetSync();
}

bool PlayerController::findCaptionFile(const std::string& mediaPath) {
    return captions_ && captions_->findCaptionFile(mediaPath);
}

void PlayerController::clearCaption() {
    if (captions_) captions_->clearText();
}

void PlayerController::afterSeek(double seconds) {
    if (tickParked_) startPlaybackTick();  // the paused medium moves: follow it again
    if (captions_) captions_->afterSeek(seconds);
    if (transport_) transport_->setPosition(seconds);
    if (onSeeked) onSeeked(seconds);
}

void PlayerController::applyVolume() {
    volume_.apply();
    // The picture controls start from their defaults with every medium.
    picture_.setDefaults(0, 0, 0);
    picture_.apply(backend_);
    if (transport_) transport_->setPictureValues(picture_);
}

bool PlayerController::hasVideoSurface() const { return view_.hasVideoSurface(); }
bool PlayerController::playlistIsEmpty() const { return !playlist_ || playlist_->isEmpty(); }

void PlayerController::playlistPlayEntry(int which) {
    if (playlist_) playlist_->playEntry(which);
}

void PlayerController::playlistPlayPrevious() {
    if (playlist_) playlist_->playPrevious();
}

void PlayerController::playlistOpaqueForOpen() {
    if (playlist_) playlist_->opaqueForOpen();
}

void PlayerController::playlistRestoreTransparency() {
    if (playlist_) playlist_->restoreTransparency();
}

void PlayerController::playlistOpenRequestDone() {
    if (playlist_) playlist_->openRequestDone();
}

void PlayerController::runOpenFileDialog() {
    if (playlist_) playlist_->openFilesDialog();
}

void PlayerController::showPlaying() {
    if (transport_) transport_->showPlaying();
    if (playlist_) playlist_->showPlaying();
}

void PlayerController::showPaused() {
    if (transport_) transport_->showPaused();
    if (playlist_) playlist_->showPaused();
}

void PlayerController::showStopped() {
    if (transport_) {
        transport_->setPosition(0);
        transport_->showStopped();
    }
    if (playlist_) playlist_->showStopped();
}

void PlayerController::pressPlayButtons() {
    if (transport_) transport_->showPlaying();
    if (playlist_) playlist_->showPlaying();
}

void PlayerController::announceRate(double rate) {
    if (osd_ && osd::switchOn(store_, osd::Switch::Speed)) osd_->show(osd::speedText(rate), 0);
}

}  // namespace orvalis
