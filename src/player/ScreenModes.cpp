#include "player/ScreenModes.h"

#include <algorithm>

#include "base/SettingsKeys.h"
#include "player/OsdMessages.h"
#include "player/WindowSteps.h"

namespace orvalis {

using geometry::Point;
using geometry::Rect;
using geometry::ScreenMode;

ScreenModes::ScreenModes(PlayerParts& parts)
    : parts_(parts),
      view_(parts.view),
      timers_(parts.timers),
      store_(parts.store),
      settings_(parts.settings),
      caption_(parts.caption),
      state_(parts.state) {}

void ScreenModes::applyWindowRect(const Rect& rect) {
    snapping_ = false;
    if (!state_.fullScreen() && !rect.empty()) {
        view_.setWindowRect(rect);
        state_.normalRect = rect;
    }
    relayout();
    snapping_ = true;
}

void ScreenModes::relayout() {
    const Rect window = view_.windowRect();
    const MediaEngine& e = parts_.media();
    geometry::LayoutInput in;
    in.window = window;
    in.mode = state_.mode;
    in.keepAspect = settings_.keepAspect;
    in.hasVideo = e.flags().loaded && e.flags().hasVideo;
    in.captionsLoaded = e.flags().captionsLoaded;
    in.native = state_.native;
    in.captionSpacePercent = caption_.captionSpace;
    in.panScanPercent = state_.panScan;
    view_.setPictureLayout(geometry::layoutPicture(in), state_.mode);

    caption_.fontSize = geometry::captionFontSizeForHeight(window.height(), caption_.fontOffset);
    if (parts_.captions) parts_.captions->createFont();

    state_.barHeight = geometry::transportBarHeight(settings::get(store_, keys::TrackHeight),
                                                    settings::get(store_, keys::UseRepeatCtrl));
    if (parts_.transport) {
        parts_.transport->setTrackColour(trackColour());
        parts_.transport->place(geometry::transportBarRect(window, state_.barHeight), false);
    }
    state_.barShown = false;
}

// The seek track shows whether the item repeats by its colour.
int ScreenModes::trackColour() const {
    return settings_.repeat ? settings::get(store_, keys::TrackColor2)
                            : settings::get(store_, keys::TrackColor1);
}

void ScreenModes::determineIdleSize() {
    state_.idleSize = geometry::kIdlePictureSize;
    if (settings_.backMode == 0) {
        if (auto size = view_.backgroundImageSize(); size && size->width > 0 && size->height > 0)
            state_.idleSize = *size;
    }
}

void ScreenModes::writeScreenRect(const Rect& r) {
    SettingsBatch batch(store_);
    settings::put(store_, keys::ScreenLeft, r.left);
    settings::put(store_, keys::ScreenTop, r.top);
    settings::put(store_, keys::ScreenRight, r.right);
    settings::put(store_, keys::ScreenBottom, r.bottom);
}

void ScreenModes::enterFullScreen(const std::optional<Rect>& normal) {
    if (state_.fullScreen()) return;
    snapping_ = false;
    state_.normalRect = normal ? *normal : view_.windowRect();
    state_.mode = ScreenMode::FullScreen;
    state_.playlistShownBeforeFullScreen = parts_.playlist && parts_.playlist->isShown();
    if (parts_.playlist) parts_.playlist->setShown(false);
    view_.focus();
    writeScreenRect(state_.normalRect);
    view_.setFullScreen(true);
    relayout();
    state_.cursorIdle = 0;
    timers_.start(TimerId::PointerHide, 1000);
}

void ScreenModes::leaveFullScreen() {
    if (!state_.fullScreen()) return;
    snapping_ = true;
    state_.mode = ScreenMode::Normal;
    view_.setPointer(PointerShape::Arrow);
    timers_.kill(TimerId::PointerHide);
    if (parts_.playlist) parts_.playlist->setShown(state_.playlistShownBeforeFullScreen);
    view_.focus();
    view_.setFullScreen(false);
    view_.setWindowRect(state_.normalRect);
    relayout();
}

void ScreenModes::toggleFullScreen() {
    if (state_.fullScreen()) {
        leaveFullScreen();
    } else {
        enterFullScreen();
    }
}

void ScreenModes::toggleMaximized() {
    if (state_.mode == ScreenMode::Maximized) {
        state_.mode = ScreenMode::FullScreen;
        leaveFullScreen();
        return;
    }
    if (!state_.fullScreen()) enterFullScreen();
    state_.mode = ScreenMode::Maximized;
    relayout();
}

void ScreenModes::toggleAlwaysOnTop() {
    settings_.alwaysOnTop = !settings_.alwaysOnTop;
    view_.setTopMost(settings_.alwaysOnTop);
}

void ScreenModes::toggleKeepAspect() {
    if (state_.fullScreen()) return;
    settings_.keepAspect = !settings_.keepAspect;
    if (settings_.keepAspect && state_.aspect > 0) {
        Rect r = view_.windowRect();
        r.bottom = r.top + static_cast<int>(r.width() / state_.aspect);
        applyWindowRect(r);
    } else {
        relayout();
    }
}

void ScreenModes::zoomTo(double factor) {
    if (state_.fullScreen()) leaveFullScreen();
    applyWindowRect(
        geometry::zoomRect(view_.windowRect(), state_.native, factor, view_.screenRect()));
}

void ScreenModes::zoom(double factor, int code) {
    if (view_.shiftHeld() || view_.ctrlHeld()) return;
    zoomTo(factor);
    state_.lastZoom = code;
}

void ScreenModes::setAspect(geometry::AspectChoice choice) {
    const MediaEngine& e = parts_.media();
    if (!e.flags().loaded || !e.flags().hasVideo || state_.fullScreen()) return;
    state_.native = geometry::aspectNativeSize(choice, {e.videoWidth(), e.videoHeight()});
    applyWindowRect(geometry::rectForNativeSize(view_.windowRect(), state_.native,
                                                caption_.captionSpace, &state_.aspect));
}

void ScreenModes::showPanScan() {
    if (parts_.osd && osd::switchOn(store_, osd::Switch::PanScan))
        parts_.osd->show(osd::panScanText(state_.panScan), 0);
}

void ScreenModes::panScanLess() {
    if (!state_.fullScreen()) return;
    state_.panScan = geometry::panScanLess(state_.panScan);
    relayout();
    showPanScan();
}

void ScreenModes::panScanMore() {
    if (!state_.fullScreen()) return;
    state_.panScan = geometry::panScanMore(state_.panScan);
    relayout();
    showPanScan();
}

void ScreenModes::panScanNone() {
    state_.panScan = 0;
    relayout();
    showPanScan();
}

void ScreenModes::growOrShrink(bool grow) {
    const Rect w = view_.windowRect();
    const Rect screen = view_.screenRect();
    auto next = grow ? grownWindow(w, screen.width(), screen.height(), state_.fullScreen())
                     : shrunkWindow(w, state_.fullScreen());
    if (next) applyWindowRect(*next);
}

void ScreenModes::hideMainWindow() {
    showTransportBar(false);
    state_.normalRect = view_.windowRect();
    writeScreenRect(state_.normalRect);
    view_.setWindowShown(false);
    settings_.showMainDlg = false;
    settings::put(store_, keys::ShowMainDlg, 0);
}

void ScreenModes::showMainWindow() {
    view_.setWindowShown(false);
    view_.setWindowRect(state_.normalRect);
    view_.setWindowShown(true);
    view_.setTopMost(settings_.alwaysOnTop);
    settings_.showMainDlg = true;
    settings::put(store_, keys::ShowMainDlg, 1);
    relayout();
}

void ScreenModes::showTransportBar(bool shown) {
    const bool changed = state_.barShown != shown;
    state_.barShown = shown;
    if (parts_.transport)
        parts_.transport->place(
            geometry::shownTransportBarRect(view_.windowRect(), state_.barHeight), shown);
    // The caption stands above a bar that lies over the picture.
    if (changed) timers_.start(TimerId::CaptionRedraw, 50);
}

CaptionFrame ScreenModes::captionFrame() const {
    const Rect window = view_.windowRect();
    return {window.width(), window.height(), state_.barShown, state_.barHeight};
}

void ScreenModes::applyCaptionSpace() {
    if (state_.fullScreen()) {
        applyWindowRect(view_.windowRect());
        return;
    }
    applyWindowRect(geometry::rectForNativeSize(view_.windowRect(), state_.native,
                                                caption_.captionSpace, &state_.aspect));
}

void ScreenModes::minimize() {
    showTransportBar(false);
    view_.minimize();
}

void ScreenModes::systemMaximize() {
    if (state_.fullScreen()) {
        leaveFullScreen();
        return;
    }
    // The window manager may already have made the window big: the normal rectangle is ours.
    const Rect normal = state_.normalRect;
    view_.setWindowRect(normal);
    enterFullScreen(normal);
}

void ScreenModes::systemMinimized() {
    showTransportBar(false);
}

Rect ScreenModes::sizing(const Rect& proposed, geometry::SizingEdge edge) {
    Rect r = proposed;
    if (settings_.keepAspect && !state_.fullScreen())
        r = geometry::keepProportions(r, edge, state_.aspect);
    if (r.width() < geometry::kMinWidth) r.right = r.left + geometry::kMinWidth;
    if (r.height() < geometry::kMinHeight) r.bottom = r.top + geometry::kMinHeight;
    if (!state_.fullScreen()) state_.normalRect = r;
    return r;
}

void ScreenModes::sized() {
    if (!state_.initialised) return;
    relayout();
    if (!(parts_.engine->flags().loaded && parts_.engine->flags().hasVideo)) view_.repaint();
}

void ScreenModes::moved() {
    timers_.start(TimerId::CaptionRedraw, 50);
}

}  // namespace orvalis
