// The player window's command handlers: one per command of the command table.
#include <algorithm>

#include "base/SettingsKeys.h"
#include "player/Jumps.h"
#include "player/OsdMessages.h"
#include "player/PlayerController.h"
#include "player/WindowSteps.h"

namespace orvalis {

using geometry::Rect;

void PlayerController::showMessage(const std::string& text, int durationMs) {
    if (osd_) osd_->show(text, durationMs);
}

void PlayerController::seekTo(double seconds) {
    if (!engine_->flags().loaded) return;
    clearCaption();
    engine_->setPosition(seconds);
}

void PlayerController::jump(CommandId id) {
    MediaEngine& e = *engine_;
    if (!e.flags().loaded) return;
    Playhead head{true, e.position(), e.duration(), state_.range.start};
    if (auto target = seekTarget(id, head, JumpSettings::read(store_))) seekTo(*target);
}

void PlayerController::changeVolume(int step) {
    volume_.setStep(step);
    volume_.apply();
    if (transport_) transport_->setVolumeStep(volume_.step());
    if (osd::switchOn(store_, osd::Switch::Volume)) showMessage(osd::volumeText(volume_.step()));
}

void PlayerController::changePicture(PictureKind kind, int change) {
    if (change > 0) {
        picture_.up(kind);
    } else if (change < 0) {
        picture_.down(kind);
    } else {
        picture_.reset(kind);
    }
    picture_.apply(backend_);
    if (transport_) transport_->setPictureValues(picture_);
}

void PlayerController::setRepeatPoint(CommandId id) {
    MediaEngine& e = *engine_;
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
    if (transport_) transport_->updateRepeatRange(r.start, b);
    showMessage(osd::repeatRangeText(r.start, b, false));
}

void PlayerController::growOrShrink(bool grow) {
    const Rect w = view_.windowRect();
    const Rect screen = view_.screenRect();
    auto next = grow ? grownWindow(w, screen.width(), screen.height(), state_.fullScreen())
                     : shrunkWindow(w, state_.fullScreen());
    if (next) applyWindowRect(*next);
}

// ---------------------------------------------------------------------------------------------
// The transport bar's drags

void PlayerController::seekPreview(int tenths, bool dragging) {
    state_.trackDragging = dragging;
    timers_.kill(TimerId::BarAutoHide);
    if (!osd_) return;
    const geometry::Point cursor = view_.cursorPos();
    const osd::Point at = osd::seekPreviewAnchor({cursor.x, cursor.y});
    osd_->showAt(osd::seekPreviewText(tenths * 0.1, view_.shiftHeld()), {at.x, at.y}, -1);
}

void PlayerController::seekCommit(int tenths) {
    if (!engine_->flags().loaded) return;
    seekTo(tenths * 0.1);
}

void PlayerController::seekPreviewEnded() {
    if (osd_) osd_->hide();
    state_.trackDragging = false;
    timers_.start(TimerId::BarAutoHide, 500);
}

void PlayerController::repeatRangeDragged(double start, double end) {
    timers_.kill(TimerId::BarAutoHide);
    // The bar's right end is the end of the medium, wherever that turns out to be.
    const double duration = engine_->duration();
    RepeatRange& r = state_.range;
    r.start = start;
    r.endSet = duration <= 0 || end < duration;
    r.end = end;
    r.settle();
    repeatGuard_.reset();
    state_.rangeEditing = true;
    showMessage(osd::repeatRangeText(start, end, view_.shiftHeld()), -1);
    if (transport_) transport_->updateRepeatRange(start, end);
}

void PlayerController::repeatRangeDragEnded() {
    if (osd_) osd_->hide();
    state_.rangeEditing = false;
    timers_.start(TimerId::BarAutoHide, 500);
}

void PlayerController::volumeDragged(int step) {
    changeVolume(step);
}

void PlayerController::pictureChanged(PictureKind kind, int value) {
    picture_.set(kind, value);
    picture_.apply(backend_);
}

void PlayerController::timeDisplayChanged(bool showsCount) {
    settings_.showFrameNumber = showsCount;
}

void PlayerController::holdBar(bool held) {
    state_.barHold = held;
    if (held) {
        timers_.kill(TimerId::BarAutoHide);
    } else {
        timers_.start(TimerId::BarAutoHide, 500);
    }
}

// The caption state on the transport bar's check boxes and buttons.
void PlayerController::refreshCaptionButtons() {
    if (!transport_) return;
    CaptionButtons b;
    b.loaded = engine_->flags().captionsLoaded;
    b.languages = captions_ ? captions_->languageCount() : 0;
    b.smoothing = caption_.fontAlias;
    b.bold = caption_.fontBold;
    b.border = caption_.fontBorder;
    b.shown = caption_.showCaption;
    transport_->refreshCaptionButtons(b);
}

bool PlayerController::runCommandNumber(int number) {
    if (auto filter = filterIndexOf(number)) {
        const auto& filters = engine_->filters();
        if (dialogs_ && *filter < static_cast<int>(filters.size()))
            dialogs_->showFilterDetails(filters[static_cast<size_t>(*filter)]);
        return true;
    }
    if (auto choice = captionEncodingIndexOf(number)) {
        const auto& chosen = captionEncodingChoices()[static_cast<std::size_t>(*choice)];
        if (captions_) {
            captions_->rereadCaptionFile(chosen.encoding);
            // The caption of the moment comes back, read anew, as after a seek.
            captions_->afterSeek(engine_->position());
        }
        return true;
    }
    const CommandId id = static_cast<CommandId>(number);
    return findCommand(id) && runCommand(id);
}

bool PlayerController::runCommand(CommandId id) {
    return commands_.run(id);
}

// The controller's handlers, one row per command. Each reaches the engine, the window or one
// of the attached ports; a port that is absent makes its commands do nothing.
void PlayerController::registerCommands() {
    using C = CommandId;
    using P = PlayerController;
    struct Row {
        CommandId id;
        void (*run)(PlayerController&);
    };
    // clang-format off
    static constexpr Row kRows[] = {
        // Files
        {C::OpenFile, [](P& p) { p.runOpenFileDialog(); }},
        {C::OpenUrl, [](P& p) {
            if (!p.dialogs_) return;
            if (auto address = p.dialogs_->askStreamAddress(); address && !address->empty())
                p.engine_->openFile(*address);
        }},
        {C::CloseFile, [](P& p) { p.closeFile(); }},

        // Window
        {C::FullScreen, [](P& p) { p.toggleFullScreen(); }},
        {C::FullScreenSize, [](P& p) { p.toggleFullScreen(); }},
        {C::Maximized, [](P& p) { p.toggleMaximized(); }},
        {C::PlaylistWindow, [](P& p) {
            if (p.playlist_ && p.settings_.showMainDlg) p.playlist_->setShown(!p.playlist_->isShown());
        }},
        {C::KeepAspect, [](P& p) { p.toggleKeepAspect(); }},
        {C::AlwaysOnTop, [](P& p) { p.toggleAlwaysOnTop(); }},
        {C::HideMainWindow, [](P& p) {
            if (!p.settings_.showMainDlg) return p.showMainWindow();
            if (p.state_.fullScreen()) p.leaveFullScreen();
            p.hideMainWindow();
        }},
        {C::TransportBar, [](P& p) { p.showTransportBar(!p.state_.barShown); }},
        {C::EscapeMinimise, [](P& p) {
            p.showTransportBar(false);
            if (p.engine_->flags().playing) p.engine_->pause();
            p.view_.minimize();
        }},
        {C::QuickMinimise, [](P& p) { p.minimize(); }},
        {C::GrowWindow, [](P& p) { p.growOrShrink(true); }},
        {C::ShrinkWindow, [](P& p) { p.growOrShrink(false); }},
        {C::PictureSliders, [](P& p) {
            if (!p.transport_) return;
            p.showTransportBar(true);
            p.transport_->toggleAdjustRow();
        }},
        {C::Zoom05, [](P& p) { p.zoom(0.5, 2); }},
        {C::Zoom10, [](P& p) { p.zoom(1.0, 3); }},
        {C::Zoom15, [](P& p) { p.zoom(1.5, 4); }},
        {C::Zoom20, [](P& p) { p.zoom(2.0, 5); }},
        {C::PanScanLess, [](P& p) { p.panScanLess(); }},
        {C::PanScanMore, [](P& p) { p.panScanMore(); }},
        {C::PanScanNone, [](P& p) { p.panScanNone(); }},
        {C::AspectOriginal, [](P& p) { p.setAspect(geometry::AspectChoice::Original); }},
        {C::Aspect4x3, [](P& p) { p.setAspect(geometry::AspectChoice::FourThree); }},
        {C::Aspect16x9, [](P& p) { p.setAspect(geometry::AspectChoice::SixteenNine); }},

        // Playback
        {C::PlayPause, [](P& p) { p.engine_->togglePause(); }},
        {C::Play, [](P& p) { p.engine_->play(); }},
        {C::Pause, [](P& p) { p.engine_->pause(); }},
        {C::Stop, [](P& p) { p.engine_->stop(); }},
        {C::PreviousItem, [](P& p) { p.playlistPlayPrevious(); }},
        {C::NextItem, [](P& p) { p.playlistPlayEntry(-1); }},
        {C::GoToStart, [](P& p) { p.jump(C::GoToStart); }},
        {C::GoToEnd, [](P& p) { p.jump(C::GoToEnd); }},
        {C::GoToRepeatStart, [](P& p) { p.jump(C::GoToRepeatStart); }},
        {C::JumpBack, [](P& p) { p.jump(C::JumpBack); }},
        {C::JumpForward, [](P& p) { p.jump(C::JumpForward); }},
        {C::JumpBackLarge, [](P& p) { p.jump(C::JumpBackLarge); }},
        {C::JumpForwardLarge, [](P& p) { p.jump(C::JumpForwardLarge); }},
        {C::RepeatItem, [](P& p) { p.toggleRepeat(); }},
        {C::RepeatSetStart, [](P& p) { p.setRepeatPoint(C::RepeatSetStart); }},
        {C::RepeatSetEnd, [](P& p) { p.setRepeatPoint(C::RepeatSetEnd); }},
        {C::RepeatClearStart, [](P& p) { p.setRepeatPoint(C::RepeatClearStart); }},
        {C::RepeatClearEnd, [](P& p) { p.setRepeatPoint(C::RepeatClearEnd); }},
        {C::RepeatClear, [](P& p) { p.setRepeatPoint(C::RepeatClear); }},
        {C::RateHalf, [](P& p) { p.engine_->rateHalf(); }},
        {C::RateDouble, [](P& p) { p.engine_->rateDouble(); }},
        {C::RateNormal, [](P& p) { p.engine_->rateNormal(); }},

        // Bookmarks
        {C::BookmarkToggle, [](P& p) {
            if (p.bookmarksReady()) p.bookmarks_->toggle(p.engine_->position());
        }},
        {C::BookmarkClearAll, [](P& p) {
            if (p.bookmarksReady()) p.bookmarks_->clearAll();
        }},
        {C::BookmarkPrevious, [](P& p) {
            if (!p.bookmarksReady()) return;
            if (auto at = p.bookmarks_->previous(p.engine_->position())) p.seekTo(*at);
        }},
        {C::BookmarkNext, [](P& p) {
            if (!p.bookmarksReady()) return;
            if (auto at = p.bookmarks_->next(p.engine_->position())) p.seekTo(*at);
        }},

        // Picture
        {C::BrightnessUp, [](P& p) { p.changePicture(PictureKind::Brightness, 1); }},
        {C::BrightnessDown, [](P& p) { p.changePicture(PictureKind::Brightness, -1); }},
        {C::BrightnessReset, [](P& p) { p.changePicture(PictureKind::Brightness, 0); }},
        {C::ContrastUp, [](P& p) { p.changePicture(PictureKind::Contrast, 1); }},
        {C::ContrastDown, [](P& p) { p.changePicture(PictureKind::Contrast, -1); }},
        {C::ContrastReset, [](P& p) { p.changePicture(PictureKind::Contrast, 0); }},
        {C::SaturationUp, [](P& p) { p.changePicture(PictureKind::Saturation, 1); }},
        {C::SaturationDown, [](P& p) { p.changePicture(PictureKind::Saturation, -1); }},
        {C::SaturationReset, [](P& p) { p.changePicture(PictureKind::Saturation, 0); }},
        {C::SaveFrame, [](P& p) { if (p.capture_) p.capture_->capture(); }},

        // Sound
        {C::VolumeUp, [](P& p) { p.changeVolume(p.volume_.step() + 1); }},
        {C::VolumeDown, [](P& p) { p.changeVolume(p.volume_.step() - 1); }},
        {C::Mute, [](P& p) {
            p.volume_.toggleMute();
            p.volume_.apply();
            if (p.transport_) p.transport_->showMuteState(p.volume_.muted());
        }},
        {C::SystemVolume, [](P& p) {
            if (p.state_.fullScreen() && p.settings_.alwaysOnTop) p.toggleAlwaysOnTop();
            p.state_.cursorIdle = 0;
            p.timers_.kill(TimerId::PointerHide);
            if (p.dialogs_) p.dialogs_->openSystemMixer();
        }},

        // Optical drives
        {C::Drive1Open, [](P& p) { p.moveTray(0, true); }},
        {C::Drive1Close, [](P& p) { p.moveTray(0, false); }},
        {C::Drive2Open, [](P& p) { p.moveTray(1, true); }},
        {C::Drive2Close, [](P& p) { p.moveTray(1, false); }},

        // Program
        {C::About, [](P& p) { if (p.dialogs_) p.dialogs_->showAbout(); }},
        {C::AboutSystemMenu, [](P& p) { if (p.dialogs_) p.dialogs_->showAbout(); }},
        {C::Settings, [](P& p) { p.openSettings(); }},
        {C::ShutdownScheduler, [](P& p) { if (p.shutdown_) p.shutdown_->schedule(); }},
        {C::Exit, [](P& p) { p.exit(); }},
    };
    // clang-format on
    for (const Row& row : kRows) commands_.add(row.id, [this, run = row.run] { run(*this); });

    // The captions run their own commands through their port.
    for (C id : {C::OpenCaptionFile, C::CaptionSmoothing, C::CaptionBold, C::CaptionBorder,
                 C::CaptionLarger, C::CaptionSmaller, C::CaptionUp, C::CaptionDown,
                 C::CaptionAreaLarger, C::CaptionAreaSmaller, C::CaptionSyncLater,
                 C::CaptionSyncEarlier, C::CaptionSyncReset, C::CaptionHide, C::CaptionFileView,
                 C::CaptionLanguage, C::CaptionIgnoreStyle, C::CaptionTwoLanguages}) {
        commands_.add(id, [this, id] {
            if (captions_) captions_->command(id);
        });
    }
}

void PlayerController::moveTray(int drive, bool open) {
    if (!dialogs_ || drive >= static_cast<int>(dialogs_->opticalDrives().size())) return;
    dialogs_->moveTray(drive, open);
}

}  // namespace orvalis
