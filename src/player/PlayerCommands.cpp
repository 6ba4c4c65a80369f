#include "player/PlayerCommands.h"

#include <algorithm>

#include "base/SettingsKeys.h"
#include "player/Jumps.h"
#include "player/OsdMessages.h"

namespace orvalis {

PlayerCommands::PlayerCommands(PlayerParts& parts, ScreenModes& screen, Playback& playback,
                               SettingsRoundTrip& roundTrip, std::function<void()> exit)
    : parts_(parts),
      screen_(screen),
      playback_(playback),
      roundTrip_(roundTrip),
      exit_(std::move(exit)) {
    registerCommands();
}

void PlayerCommands::changeVolume(int step) {
    parts_.volume.setStep(step);
    parts_.volume.apply();
    if (parts_.transport) parts_.transport->setVolumeStep(parts_.volume.step());
    if (osd::switchOn(parts_.store, osd::Switch::Volume))
        parts_.showMessage(osd::volumeText(parts_.volume.step()));
}

void PlayerCommands::changePicture(PictureKind kind, int change) {
    if (change > 0) {
        parts_.picture.up(kind);
    } else if (change < 0) {
        parts_.picture.down(kind);
    } else {
        parts_.picture.reset(kind);
    }
    parts_.picture.apply(parts_.backend);
    if (parts_.transport) parts_.transport->setPictureValues(parts_.picture);
}

bool PlayerCommands::runNumber(int number) {
    if (auto filter = filterIndexOf(number)) {
        const auto& filters = parts_.engine->filters();
        if (parts_.dialogs && *filter < static_cast<int>(filters.size()))
            parts_.dialogs->showFilterDetails(filters[static_cast<size_t>(*filter)]);
        return true;
    }
    if (auto choice = captionEncodingIndexOf(number)) {
        const auto& chosen = captionEncodingChoices()[static_cast<std::size_t>(*choice)];
        if (parts_.captions) {
            parts_.captions->rereadCaptionFile(chosen.encoding);
            // The caption of the moment comes back, read anew, as after a seek.
            parts_.captions->afterSeek(parts_.engine->position());
        }
        return true;
    }
    const CommandId id = static_cast<CommandId>(number);
    return findCommand(id) && run(id);
}

void PlayerCommands::registerCommands() {
    using C = CommandId;
    using P = PlayerCommands;
    struct Row {
        CommandId id;
        void (*run)(PlayerCommands&);
    };
    // clang-format off
    static constexpr Row kRows[] = {
        // Files
        {C::OpenFile, [](P& p) {
            if (p.parts_.playlist) p.parts_.playlist->openFilesDialog();
        }},
        {C::OpenUrl, [](P& p) {
            if (!p.parts_.dialogs) return;
            if (auto address = p.parts_.dialogs->askStreamAddress(); address && !address->empty())
                p.parts_.engine->openFile(*address);
        }},
        {C::CloseFile, [](P& p) { p.playback_.closeFile(); }},

        // Window
        {C::FullScreen, [](P& p) { p.screen_.toggleFullScreen(); }},
        {C::FullScreenSize, [](P& p) { p.screen_.toggleFullScreen(); }},
        {C::Maximized, [](P& p) { p.screen_.toggleMaximized(); }},
        {C::PlaylistWindow, [](P& p) {
            PlaylistPort* playlist = p.parts_.playlist;
            if (playlist && p.parts_.settings.showMainDlg) playlist->setShown(!playlist->isShown());
        }},
        {C::KeepAspect, [](P& p) { p.screen_.toggleKeepAspect(); }},
        {C::AlwaysOnTop, [](P& p) { p.screen_.toggleAlwaysOnTop(); }},
        {C::HideMainWindow, [](P& p) {
            if (!p.parts_.settings.showMainDlg) return p.screen_.showMainWindow();
            if (p.parts_.state.fullScreen()) p.screen_.leaveFullScreen();
            p.screen_.hideMainWindow();
        }},
        {C::TransportBar, [](P& p) { p.screen_.showTransportBar(!p.parts_.state.barShown); }},
        {C::EscapeMinimise, [](P& p) {
            p.screen_.showTransportBar(false);
            if (p.parts_.engine->flags().playing) p.parts_.engine->pause();
            p.parts_.view.minimize();
        }},
        {C::QuickMinimise, [](P& p) { p.screen_.minimize(); }},
        {C::GrowWindow, [](P& p) { p.screen_.growOrShrink(true); }},
        {C::ShrinkWindow, [](P& p) { p.screen_.growOrShrink(false); }},
        {C::PictureSliders, [](P& p) {
            if (!p.parts_.transport) return;
            p.screen_.showTransportBar(true);
            p.parts_.transport->toggleAdjustRow();
        }},
        {C::Zoom05, [](P& p) { p.screen_.zoom(0.5, 2); }},
        {C::Zoom10, [](P& p) { p.screen_.zoom(1.0, 3); }},
        {C::Zoom15, [](P& p) { p.screen_.zoom(1.5, 4); }},
        {C::Zoom20, [](P& p) { p.screen_.zoom(2.0, 5); }},
        {C::PanScanLess, [](P& p) { p.screen_.panScanLess(); }},
        {C::PanScanMore, [](P& p) { p.screen_.panScanMore(); }},
        {C::PanScanNone, [](P& p) { p.screen_.panScanNone(); }},
        {C::AspectOriginal, [](P& p) { p.screen_.setAspect(geometry::AspectChoice::Original); }},
        {C::Aspect4x3, [](P& p) { p.screen_.setAspect(geometry::AspectChoice::FourThree); }},
        {C::Aspect16x9, [](P& p) { p.screen_.setAspect(geometry::AspectChoice::SixteenNine); }},

        // Playback
        {C::PlayPause, [](P& p) { p.parts_.engine->togglePause(); }},
        {C::Play, [](P& p) { p.parts_.engine->play(); }},
        {C::Pause, [](P& p) { p.parts_.engine->pause(); }},
        {C::Stop, [](P& p) { p.parts_.engine->stop(); }},
        {C::PreviousItem, [](P& p) {
            if (p.parts_.playlist) p.parts_.playlist->playPrevious();
        }},
        {C::NextItem, [](P& p) { p.parts_.playlistPlayEntry(-1); }},
        {C::GoToStart, [](P& p) { p.playback_.jump(C::GoToStart); }},
        {C::GoToEnd, [](P& p) { p.playback_.jump(C::GoToEnd); }},
        {C::GoToRepeatStart, [](P& p) { p.playback_.jump(C::GoToRepeatStart); }},
        {C::JumpBack, [](P& p) { p.playback_.jump(C::JumpBack); }},
        {C::JumpForward, [](P& p) { p.playback_.jump(C::JumpForward); }},
        {C::JumpBackLarge, [](P& p) { p.playback_.jump(C::JumpBackLarge); }},
        {C::JumpForwardLarge, [](P& p) { p.playback_.jump(C::JumpForwardLarge); }},
        {C::RepeatItem, [](P& p) { p.playback_.toggleRepeat(); }},
        {C::RepeatSetStart, [](P& p) { p.playback_.setRepeatPoint(C::RepeatSetStart); }},
        {C::RepeatSetEnd, [](P& p) { p.playback_.setRepeatPoint(C::RepeatSetEnd); }},
        {C::RepeatClearStart, [](P& p) { p.playback_.setRepeatPoint(C::RepeatClearStart); }},
        {C::RepeatClearEnd, [](P& p) { p.playback_.setRepeatPoint(C::RepeatClearEnd); }},
        {C::RepeatClear, [](P& p) { p.playback_.setRepeatPoint(C::RepeatClear); }},
        {C::RateHalf, [](P& p) { p.parts_.engine->rateHalf(); }},
        {C::RateDouble, [](P& p) { p.parts_.engine->rateDouble(); }},
        {C::RateNormal, [](P& p) { p.parts_.engine->rateNormal(); }},

        // Bookmarks
        {C::BookmarkToggle, [](P& p) {
            if (p.playback_.bookmarksReady())
                p.parts_.bookmarks->toggle(p.parts_.engine->position());
        }},
        {C::BookmarkClearAll, [](P& p) {
            if (p.playback_.bookmarksReady()) p.parts_.bookmarks->clearAll();
        }},
        {C::BookmarkPrevious, [](P& p) {
            if (!p.playback_.bookmarksReady()) return;
            if (auto at = p.parts_.bookmarks->previous(p.parts_.engine->position()))
                p.playback_.seekTo(*at);
        }},
        {C::BookmarkNext, [](P& p) {
            if (!p.playback_.bookmarksReady()) return;
            if (auto at = p.parts_.bookmarks->next(p.parts_.engine->position()))
                p.playback_.seekTo(*at);
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
        {C::SaveFrame, [](P& p) { if (p.parts_.capture) p.parts_.capture->capture(); }},

        // Sound
        {C::VolumeUp, [](P& p) { p.changeVolume(p.parts_.volume.step() + 1); }},
        {C::VolumeDown, [](P& p) { p.changeVolume(p.parts_.volume.step() - 1); }},
        {C::Mute, [](P& p) {
            p.parts_.volume.toggleMute();
            p.parts_.volume.apply();
            if (p.parts_.transport) p.parts_.transport->showMuteState(p.parts_.volume.muted());
        }},
        {C::SystemVolume, [](P& p) {
            if (p.parts_.state.fullScreen() && p.parts_.settings.alwaysOnTop)
                p.screen_.toggleAlwaysOnTop();
            p.parts_.state.cursorIdle = 0;
            p.parts_.timers.kill(TimerId::PointerHide);
            if (p.parts_.dialogs) p.parts_.dialogs->openSystemMixer();
        }},

        // Optical drives
        {C::Drive1Open, [](P& p) { p.moveTray(0, true); }},
        {C::Drive1Close, [](P& p) { p.moveTray(0, false); }},
        {C::Drive2Open, [](P& p) { p.moveTray(1, true); }},
        {C::Drive2Close, [](P& p) { p.moveTray(1, false); }},

        // Program
        {C::About, [](P& p) { if (p.parts_.dialogs) p.parts_.dialogs->showAbout(); }},
        {C::AboutSystemMenu, [](P& p) { if (p.parts_.dialogs) p.parts_.dialogs->showAbout(); }},
        {C::Settings, [](P& p) { p.roundTrip_.openSettings(); }},
        {C::ShutdownScheduler, [](P& p) { if (p.parts_.shutdown) p.parts_.shutdown->schedule(); }},
        {C::Exit, [](P& p) { p.exit_(); }},
    };
    // clang-format on
    for (const Row& row : kRows) table_.add(row.id, [this, run = row.run] { run(*this); });
}

MenuState PlayerCommands::menuState() const {
    const auto& f = parts_.engine->flags();
    MenuState m;
    m.loaded = f.loaded;
    m.hasVideo = f.loaded && f.hasVideo;
    m.captionsLoaded = f.captionsLoaded;
    m.captionLanguages = parts_.captions ? parts_.captions->languageCount() : 0;
    if (parts_.captions) {
        const CaptionEncodingState encoding = parts_.captions->captionEncoding();
        m.captionEncoding = encoding.encoding;
        m.captionEncodingChosen = encoding.chosen;
    }
    m.showCaption = parts_.caption.showCaption;
    m.ignoreSubtitleStyle = settings::get(parts_.store, keys::IgnoreSubtitleStyle);
    m.twoLanguages = settings::get(parts_.store, keys::ShowTwoLanguages);
    m.fullScreen = parts_.state.fullScreen();
    m.maximized = parts_.state.mode == geometry::ScreenMode::Maximized;
    m.escKey = KeyContext::read(parts_.store, m.fullScreen).escKey;
    m.mainWindowShown = parts_.settings.showMainDlg;
    m.playlistShown = parts_.playlist && parts_.playlist->isShown();
    m.alwaysOnTop = parts_.settings.alwaysOnTop;
    m.keepAspect = parts_.settings.keepAspect;
    m.repeatItem = parts_.settings.repeat;
    m.captionSmoothing = parts_.caption.fontAlias;
    m.muted = parts_.volume.muted();
    m.zoomCode = parts_.state.lastZoom;
    m.jumps = JumpSettings::read(parts_.store);
    if (parts_.dialogs) m.drives = parts_.dialogs->opticalDrives();
    m.filters = parts_.engine->filters();
    return m;
}

void PlayerCommands::moveTray(int drive, bool open) {
    if (!parts_.dialogs || drive >= static_cast<int>(parts_.dialogs->opticalDrives().size()))
        return;
    parts_.dialogs->moveTray(drive, open);
}

}  // namespace orvalis
