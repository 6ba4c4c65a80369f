#include "player/SettingsRoundTrip.h"

#include <algorithm>

#include "base/SettingsKeys.h"

namespace orvalis {

using geometry::Rect;

SettingsRoundTrip::SettingsRoundTrip(PlayerParts& parts, ScreenModes& screen)
    : parts_(parts),
      screen_(screen),
      store_(parts.store),
      view_(parts.view),
      settings_(parts.settings),
      caption_(parts.caption),
      state_(parts.state) {}

// The values the player keeps from the store. The start reads them all; when the settings
// sheet closes the player reads again what the sheet shows, some with defaults of their own.
void SettingsRoundTrip::readSettings(settings::Context context) {
    using settings::get;
    WindowSettings& s = settings_;
    CaptionStyle& c = caption_;
    if (context == settings::Context::AtStart) {
        s.repeat = get(store_, keys::Repeat);
        s.showMainDlg = get(store_, keys::ShowMainDlg);
        s.alwaysOnTop = get(store_, keys::AlwaysOnTop);
        s.showPlayList = get(store_, keys::ShowPlayList);
        s.keepAspect = get(store_, keys::AspectRatio);
        parts_.volume.load(store_);
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

void SettingsRoundTrip::readAtStart() {
    readSettings(settings::Context::AtStart);
    normaliseSettings();
}

void SettingsRoundTrip::normaliseSettings() {
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

Rect SettingsRoundTrip::startPlacement() const {
    geometry::SavedPlacement saved;
    saved.left = settings::get(store_, keys::ScreenLeft);
    saved.top = settings::get(store_, keys::ScreenTop);
    saved.right = settings::getOr(store_, keys::ScreenRight, saved.left + 366);
    if (!settings_.keepAspect)
        saved.bottom = settings::getOr(store_, keys::ScreenBottom, saved.top + 272);
    return geometry::startPlacement(saved, settings_.keepAspect, state_.idleSize,
                                    view_.screenRect());
}

void SettingsRoundTrip::openSettings() {
    parts_.timers.kill(TimerId::PointerHide);
    state_.cursorIdle = 0;
    // What the window holds live goes to the store first, so that the pages show it.
    {
        using settings::put;
        SettingsBatch batch(store_);
        put(store_, keys::FontSize, caption_.fontSize);
        put(store_, keys::FontOffset, caption_.fontOffset);
        put(store_, keys::FontBold, caption_.fontBold);
        put(store_, keys::FontAlias, caption_.fontAlias);
        put(store_, keys::FontBorder, caption_.fontBorder);
        put(store_, keys::CaptionSynch,
            parts_.captions ? parts_.captions->syncOffset() : state_.captionSync);
        put(store_, keys::CaptionSpace, caption_.captionSpace);
        put(store_, keys::ShowFrameNumber, settings_.showFrameNumber);
        put(store_, keys::BackMode, settings_.backMode);
        put(store_, keys::BackImage, settings_.backImage);
    }
    const int divideLength = settings::get(store_, keys::CaptionDivideLength);

    MediaEngine& e = parts_.media();
    state_.settingsOpen = true;
    const bool wasPlaying = e.flags().hasVideo && e.flags().playing;
    if (wasPlaying) e.pause();
    const bool accepted = parts_.sheet && parts_.sheet->run();
    state_.settingsOpen = false;
    if (!accepted) {
        if (wasPlaying && e.flags().paused) e.pause();
        return;
    }
    rereadAfterSettings();
    if (!settings::get(store_, keys::UseBookmark) && parts_.transport)
        parts_.transport->clearBookmarkMarks();
    if (parts_.bookmarks) parts_.bookmarks->refreshMarks();
    if (parts_.playlist)
        parts_.playlist->setShowControls(settings::get(store_, keys::ShowControls));
    if (e.flags().captionsLoaded && parts_.captions &&
        settings::get(store_, keys::CaptionDivideLength) != divideLength)
        parts_.captions->reparse();
    view_.setBackground(settings_.backMode, settings_.backColor, settings_.backImage);
    if (!e.flags().hasVideo) {
        screen_.determineIdleSize();
        state_.native = state_.idleSize;
    }
    if (parts_.captions) parts_.captions->createFont();
    if (parts_.transport) {
        parts_.transport->refresh();
        parts_.transport->setShowFrameNumber(settings_.showFrameNumber);
        parts_.transport->setPosition(e.position());
    }
    parts_.refreshCaptionButtons();
    view_.repaint();
    if (wasPlaying && e.flags().paused) e.pause();
}

void SettingsRoundTrip::rereadAfterSettings() {
    readSettings(settings::Context::AfterSheet);
    caption_.captionSpace = std::clamp(caption_.captionSpace, 0, 30);
    if (parts_.captions) parts_.captions->setSyncOffset(state_.captionSync);
    screen_.relayout();
}

void SettingsRoundTrip::writeAtExit() {
    using settings::put;
    put(store_, keys::Maximized, state_.fullScreen());
    if (state_.fullScreen()) screen_.leaveFullScreen();
    Rect r = view_.windowRect();
    if (r.empty()) r = state_.normalRect;
    put(store_, keys::Repeat, settings_.repeat);
    screen_.writeScreenRect(r);
    put(store_, keys::ShowMainDlg, settings_.showMainDlg);
    put(store_, keys::AlwaysOnTop, settings_.alwaysOnTop);
    put(store_, keys::AspectRatio, settings_.keepAspect);
    put(store_, keys::ShowPlayList,
        parts_.playlist ? parts_.playlist->isShown() : settings_.showPlayList);
    put(store_, keys::Volume, parts_.volume.step());
    put(store_, keys::Mute, parts_.volume.muted());
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
    parts_.picture.save(store_);
}

}  // namespace orvalis
