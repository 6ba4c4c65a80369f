#include "player/PlayerController.h"

#include "base/SettingsKeys.h"
#include "base/TextCodec.h"
#include "player/OsdMessages.h"

namespace orvalis {

using geometry::Rect;

PlayerController::PlayerController(Services parts, std::vector<std::string> commandLinePaths)
    : parts_(parts.settings, parts.timers, parts.backend, parts.view, parts.desktop,
             parts.prompter),
      screen_(parts_),
      pointer_(parts_, screen_),
      playback_(parts_, screen_),
      roundTrip_(parts_, screen_),
      commands_(parts_, screen_, playback_, roundTrip_, [this] { exit(); }),
      store_(parts_.store),
      timers_(parts_.timers),
      view_(parts_.view),
      settings_(parts_.settings),
      caption_(parts_.caption),
      state_(parts_.state),
      commandLinePaths_(std::move(commandLinePaths)) {
    parts_.engine =
        std::make_unique<MediaEngine>(parts.backend, *this, store_, parts.desktop, parts.prompter);
}

PlayerController::~PlayerController() = default;

// ---------------------------------------------------------------------------------------------
// Start

void PlayerController::initialise() {
    roundTrip_.readAtStart();
    if (parts_.captions) parts_.captions->createFont();
    view_.setBackground(settings_.backMode, settings_.backColor, settings_.backImage);
    screen_.determineIdleSize();
    state_.native = state_.idleSize;
    state_.aspect = static_cast<double>(state_.idleSize.width) / state_.idleSize.height;

    if (parts_.transport) {
        parts_.transport->setDuration(0);
        parts_.transport->place(geometry::transportBarRect(view_.windowRect(), 60), false);
        parts_.transport->setVolumeStep(parts_.volume.step());
        parts_.transport->showMuteState(parts_.volume.muted());
        parts_.transport->setShowFrameNumber(settings_.showFrameNumber);
        parts_.transport->setPictureValues(parts_.picture);
    }
    state_.barHeight = 60;
    // The toggle restores the stored value and gives the track its colour.
    settings_.repeat = !settings_.repeat;
    toggleRepeat();

    Rect start = roundTrip_.startPlacement();
    state_.normalRect = start;
    screen_.applyWindowRect(start);

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
    if (parts_.playlist) parts_.playlist->setShown(settings_.showPlayList);
    if (!commandLinePaths_.empty() && parts_.playlist) parts_.playlist->addPaths(commandLinePaths_);
    commandLinePaths_.clear();
    if (parts_.playlist && settings::get(store_, keys::AutoCheck)) parts_.playlist->checkPaths();
    if (parts_.playlist) parts_.playlist->repaint();
    if (settings::get(store_, keys::SaveMaximized) && settings::get(store_, keys::Maximized))
        screen_.enterFullScreen();
    if (parts_.transport) parts_.transport->refresh();
}

void PlayerController::receiveHandOver(const std::vector<std::string>& paths) {
    if (!paths.empty() && parts_.playlist) parts_.playlist->addPaths(paths);
}

void PlayerController::dropFiles(const std::vector<std::string>& paths) {
    if (paths.empty()) return;
    view_.focus();
    auto endsWith = [](const std::string& path, std::initializer_list<const char*> suffixes) {
        const std::string lower = text::toLowerAscii(path);
        for (const char* s : suffixes) {
            const std::string suffix = s;
            if (lower.size() >= suffix.size() &&
                lower.compare(lower.size() - suffix.size(), suffix.size(), suffix) == 0)
                return true;
        }
        return false;
    };
    if (paths.size() == 1 && endsWith(paths[0], {".smi", ".srt", ".vtt"})) {
        if (parts_.engine->flags().loaded && parts_.captions)
            parts_.captions->loadDropped(paths[0]);
        view_.setPointer(PointerShape::Arrow);
        if (parts_.transport) parts_.transport->refresh();
        return;
    }
    if (paths.size() == 1 && endsWith(paths[0], {".bmp", ".gif", ".jpg", ".jpeg"})) {
        settings_.backMode = 0;
        settings_.backImage = paths[0];
        view_.setBackground(settings_.backMode, settings_.backColor, settings_.backImage);
        if (!(parts_.engine->flags().loaded && parts_.engine->flags().hasVideo)) {
            screen_.determineIdleSize();
            state_.native = state_.idleSize;
            state_.aspect = static_cast<double>(state_.idleSize.width) / state_.idleSize.height;
            Rect r = view_.windowRect();
            if (settings_.keepAspect)
                r.bottom = r.top + static_cast<int>(r.width() / state_.aspect);
            screen_.applyWindowRect(r);
        }
        view_.repaint();
        return;
    }
    if (parts_.playlist) parts_.playlist->dropFiles(paths);
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
            pointer_.pointerHideTick();
            break;
        case TimerId::PlaybackTick:
            playback_.tick();
            break;
        case TimerId::BarAutoHide:
            pointer_.barAutoHideTick();
            break;
        case TimerId::ClickGuard:
            timers_.kill(id);
            parts_.click.guardElapsed();
            break;
        case TimerId::OsdHide:
            timers_.kill(id);
            if (parts_.osd) parts_.osd->hide();
            break;
        case TimerId::CaptionRedraw:
            timers_.kill(id);
            if (parts_.captions) parts_.captions->draw();
            break;
        case TimerId::CaptionHold:
            if (parts_.captions)
                parts_.captions->holdExpired(parts_.engine->flags().playing,
                                             parts_.engine->flags().paused);
            break;
        case TimerId::PlaybackStart:
            timers_.kill(id);
            playback_.startOfPlayback();
            break;
        case TimerId::ShutdownClock:
            if (parts_.shutdown) parts_.shutdown->clockTick();
            break;
    }
}

// ---------------------------------------------------------------------------------------------
// Exit

void PlayerController::exit() {
    if (exited_) return;
    exited_ = true;
    MediaEngine& e = parts_.media();
    e.releaseSleep();
    view_.setWindowShown(false);

    SettingsBatch batch(store_);
    roundTrip_.writeAtExit();
    if (e.flags().loaded) {
        saveBookmarks();
        closeFile();
    }
    stopPlaybackTick();
    if (onExited) onExited();
}

// ---------------------------------------------------------------------------------------------
// The transport bar's own values

void PlayerController::pictureChanged(PictureKind kind, int value) {
    parts_.picture.set(kind, value);
    parts_.picture.apply(parts_.backend);
}

void PlayerController::timeDisplayChanged(bool showsCount) {
    settings_.showFrameNumber = showsCount;
}

// ---------------------------------------------------------------------------------------------
// EngineHost

void PlayerController::startStartOfPlayback() {
    timers_.start(TimerId::PlaybackStart, 10);
}

void PlayerController::setBusyCursor(bool busy) {
    view_.setPointer(busy ? PointerShape::Wait : PointerShape::Arrow);
}

void PlayerController::resetCaptionSync() {
    state_.captionSync = 0;
    if (parts_.captions) parts_.captions->resetSync();
}

bool PlayerController::findCaptionFile(const std::string& mediaPath) {
    return parts_.captions && parts_.captions->findCaptionFile(mediaPath);
}

void PlayerController::clearCaption() {
    if (parts_.captions) parts_.captions->clearText();
}

void PlayerController::afterSeek(double seconds) {
    playback_.afterSeek(seconds);
    if (onSeeked) onSeeked(seconds);
}

void PlayerController::applyVolume() {
    parts_.volume.apply();
    // The picture controls start from their defaults with every medium.
    parts_.picture.setDefaults(0, 0, 0);
    parts_.picture.apply(parts_.backend);
    if (parts_.transport) parts_.transport->setPictureValues(parts_.picture);
}

bool PlayerController::hasVideoSurface() const {
    return view_.hasVideoSurface();
}
bool PlayerController::playlistIsEmpty() const {
    return !parts_.playlist || parts_.playlist->isEmpty();
}

void PlayerController::playlistPlayEntry(int which) {
    if (parts_.playlist) parts_.playlist->playEntry(which);
}

void PlayerController::playlistPlayPrevious() {
    if (parts_.playlist) parts_.playlist->playPrevious();
}

void PlayerController::playlistOpaqueForOpen() {
    if (parts_.playlist) parts_.playlist->opaqueForOpen();
}

void PlayerController::playlistRestoreTransparency() {
    if (parts_.playlist) parts_.playlist->restoreTransparency();
}

void PlayerController::playlistOpenRequestDone() {
    if (parts_.playlist) parts_.playlist->openRequestDone();
}

void PlayerController::runOpenFileDialog() {
    if (parts_.playlist) parts_.playlist->openFilesDialog();
}

void PlayerController::showPlaying() {
    if (parts_.transport) parts_.transport->showPlaying();
    if (parts_.playlist) parts_.playlist->showPlaying();
}

void PlayerController::showPaused() {
    if (parts_.transport) parts_.transport->showPaused();
    if (parts_.playlist) parts_.playlist->showPaused();
}

void PlayerController::showStopped() {
    if (parts_.transport) {
        parts_.transport->setPosition(0);
        parts_.transport->showStopped();
    }
    if (parts_.playlist) parts_.playlist->showStopped();
}

void PlayerController::pressPlayButtons() {
    if (parts_.transport) parts_.transport->showPlaying();
    if (parts_.playlist) parts_.playlist->showPlaying();
}

void PlayerController::announceRate(double rate) {
    if (parts_.osd && osd::switchOn(store_, osd::Switch::Speed))
        parts_.osd->show(osd::speedText(rate), 0);
}

}  // namespace orvalis
