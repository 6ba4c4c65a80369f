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

void PlayerController::volumeDragged(int step) { changeVolume(step); }

void PlayerController::pictureChanged(PictureKind kind, int value) {
    picture_.set(kind, value);
    picture_.apply(backend_);
}

void PlayerController::timeDisplayChanged(bool showsCount) { settings_.showFrameNumber = showsCount; }

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
    MediaEngine& e = *engine_;
    using C = CommandId;
    switch (id) {
        // Files
        case C::OpenFile: runOpenFileDialog(); return true;
        case C::OpenUrl:
            if (dialogs_) {
                if (auto address = dialogs_->askStreamAddress(); address && !address->empty())
                    e.openFile(*address);
            }
            return true;
        case C::CloseFile: closeFile(); return true;

        // Window
        case C::FullScreen:
        case C::FullScreenSize: toggleFullScreen(); return true;
        case C::Maximized: toggleMaximized(); return true;
        case C::PlaylistWindow:
            if (playlist_ && settings_.showMainDlg) playlist_->setShown(!playlist_->isShown());
            return true;
        case C::KeepAspect: toggleKeepAspect(); return true;
        case C::AlwaysOnTop: toggleAlwaysOnTop(); return true;
        case C::HideMainWindow:
            if (settings_.showMainDlg) {
                if (state_.fullScreen()) leaveFullScreen();
                hideMainWindow();
            } else {
                showMainWindow();
            }
            return true;
        case C::TransportBar: showTransportBar(!state_.barShown); return true;
        case C::EscapeMinimise:
            showTransportBar(false);
            if (e.flags().playing) e.pause();
            view_.minimize();
            return true;
        case C::QuickMinimise: minimize(); return true;
        case C::GrowWindow: growOrShrink(true); return true;
        case C::ShrinkWindow: growOrShrink(false); return true;
        case C::PictureSliders:
            if (transport_) {
                showTransportBar(true);
                transport_->toggleAdjustRow();
            }
            return true;
        case C::Zoom05: zoom(0.5, 2); return true;
        case C::Zoom10: zoom(1.0, 3); return true;
        case C::Zoom15: zoom(1.5, 4); return true;
        case C::Zoom20: zoom(2.0, 5); return true;
        case C::PanScanLess: panScanLess(); return true;
        case C::PanScanMore: panScanMore(); return true;
        case C::PanScanNone: panScanNone(); return true;
        case C::AspectOriginal: setAspect(geometry::AspectChoice::Original); return true;
        case C::Aspect4x3: setAspect(geometry::AspectChoice::FourThree); return true;
        case C::Aspect16x9: setAspect(geometry::AspectChoice::SixteenNine); return true;

        // Playback
        case C::PlayPause: e.togglePause(); return true;
        case C::Play: e.play(); return true;
        case C::Pause: e.pause(); return true;
        case C::Stop: e.stop(); return true;
        case C::PreviousItem: playlistPlayPrevious(); return true;
        case C::NextItem: playlistPlayEntry(-1); return true;
        case C::GoToStart:
        case C::GoToEnd:
        case C::GoToRepeatStart:
        case C::JumpBack:
        case C::JumpForward:
        case C::JumpBackLarge:
        case C::JumpForwardLarge: jump(id); return true;
        case C::RepeatItem: toggleRepeat(); return true;
        case C::RepeatSetStart:
        case C::RepeatSetEnd:
        case C::RepeatClearStart:
        case C::RepeatClearEnd:
        case C::RepeatClear: setRepeatPoint(id); return true;
        case C::RateHalf: e.rateHalf(); return true;
        case C::RateDouble: e.rateDouble(); return true;
        case C::RateNormal: e.rateNormal(); return true;

        // Bookmarks
        case C::BookmarkToggle:
            if (bookmarks_ && bookmarksHeld_) bookmarks_->toggle(e.position());
            return true;
        case C::BookmarkClearAll:
            if (bookmarks_ && bookmarksHeld_) bookmarks_->clearAll();
            return true;
        case C::BookmarkPrevious:
        case C::BookmarkNext:
            if (bookmarks_ && bookmarksHeld_) {
                const double p = e.position();
                auto target = id == C::BookmarkPrevious ? bookmarks_->previous(p) : bookmarks_->next(p);
                if (target) seekTo(*target);
            }
            return true;

        // Captions
        case C::OpenCaptionFile:
        case C::CaptionSmoothing:
        case C::CaptionBold:
        case C::CaptionBorder:
        case C::CaptionLarger:
        case C::CaptionSmaller:
        case C::CaptionUp:
        case C::CaptionDown:
        case C::CaptionAreaLarger:
        case C::CaptionAreaSmaller:
        case C::CaptionSyncLater:
        case C::CaptionSyncEarlier:
        case C::CaptionSyncReset:
        case C::CaptionHide:
        case C::CaptionFileView:
        case C::CaptionLanguage:
        case C::CaptionIgnoreStyle:
        case C::CaptionTwoLanguages:
            if (captions_) captions_->command(id);
            return true;

        // Picture
        case C::BrightnessUp: changePicture(PictureKind::Brightness, 1); return true;
        case C::BrightnessDown: changePicture(PictureKind::Brightness, -1); return true;
        case C::BrightnessReset: changePicture(PictureKind::Brightness, 0); return true;
        case C::ContrastUp: changePicture(PictureKind::Contrast, 1); return true;
        case C::ContrastDown: changePicture(PictureKind::Contrast, -1); return true;
        case C::ContrastReset: changePicture(PictureKind::Contrast, 0); return true;
        case C::SaturationUp: changePicture(PictureKind::Saturation, 1); return true;
        case C::SaturationDown: changePicture(PictureKind::Saturation, -1); return true;
        case C::SaturationReset: changePicture(PictureKind::Saturation, 0); return true;
        case C::SaveFrame:
            if (capture_) capture_->capture();
            return true;

        // Sound
        case C::VolumeUp: changeVolume(volume_.step() + 1); return true;
        case C::VolumeDown: changeVolume(volume_.step() - 1); return true;
        case C::Mute:
            volume_.toggleMute();
            volume_.apply();
            if (transport_) transport_->showMuteState(volume_.muted());
            return true;
        case C::SystemVolume:
            if (state_.fullScreen() && settings_.alwaysOnTop) toggleAlwaysOnTop();
            state_.cursorIdle = 0;
            timers_.kill(TimerId::PointerHide);
            if (dialogs_) dialogs_->openSystemMixer();
            return true;

        // Optical drives
        case C::Drive1Open:
        case C::Drive1Close:
        case C::Drive2Open:
        case C::Drive2Close: {
            const int drive = (id == C::Drive1Open || id == C::Drive1Close) ? 0 : 1;
            const bool open = id == C::Drive1Open || id == C::Drive2Open;
            if (!dialogs_) return true;
            const auto drives = dialogs_->opticalDrives();
            if (drive >= static_cast<int>(drives.size())) return true;
            dialogs_->moveTray(drive, open);
            return true;
        }

        // Program
        case C::About:
        case C::AboutSystemMenu:
            if (dialogs_) dialogs_->showAbout();
            return true;
        case C::Settings: openSettings(); return true;
        case C::ShutdownScheduler:
            if (shutdown_) shutdown_->schedule();
            return true;
        case C::Exit: exit(); return true;
    }
    return false;
}

}  // namespace orvalis
