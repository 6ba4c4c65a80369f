// The player window's picture geometry and screen modes: layout of the picture, zoom and
// aspect, full screen, the hidden main window, the transport-bar band and window drags.
#include <algorithm>

#include "base/SettingsKeys.h"
#include "base/TextCodec.h"
#include "player/Jumps.h"
#include "player/OsdMessages.h"
#include "player/PlayerController.h"

namespace orvalis {

using geometry::Point;
using geometry::Rect;
using geometry::ScreenMode;
using geometry::Size;

void PlayerController::applyWindowRect(const Rect& rect) {
    snapping_ = false;
    if (!state_.fullScreen() && !rect.empty()) {
        view_.setWindowRect(rect);
        state_.normalRect = rect;
    }
    relayout();
    snapping_ = true;
}

void PlayerController::relayout() {
    const Rect window = view_.windowRect();
    const MediaEngine& e = *engine_;
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
    if (captions_) captions_->createFont();

    state_.barHeight = geometry::transportBarHeight(settings::get(store_, keys::TrackHeight),
                                                    settings::get(store_, keys::UseRepeatCtrl));
    if (transport_) {
        transport_->setTrackColour(trackColour());
        transport_->place(geometry::transportBarRect(window, state_.barHeight), false);
    }
    state_.barShown = false;
}

void PlayerController::toggleRepeat() {
    settings_.repeat = !settings_.repeat;
    if (transport_) transport_->setTrackColour(trackColour());
}

// The seek track shows whether the item repeats by its colour.
int PlayerController::trackColour() const {
    return settings_.repeat ? settings::get(store_, keys::TrackColor2)
                            : settings::get(store_, keys::TrackColor1);
}

void PlayerController::writeScreenRect(const Rect& r) {
    SettingsBatch batch(store_);
    settings::put(store_, keys::ScreenLeft, r.left);
    settings::put(store_, keys::ScreenTop, r.top);
    settings::put(store_, keys::ScreenRight, r.right);
    settings::put(store_, keys::ScreenBottom, r.bottom);
}

void PlayerController::enterFullScreen(const std::optional<Rect>& normal) {
    if (state_.fullScreen()) return;
    snapping_ = false;
    state_.normalRect = normal ? *normal : view_.windowRect();
    state_.mode = ScreenMode::FullScreen;
    state_.playlistShownBeforeFullScreen = playlist_ && playlist_->isShown();
    if (playlist_) playlist_->setShown(false);
    view_.focus();
    writeScreenRect(state_.normalRect);
    view_.setFullScreen(true);
    relayout();
    state_.cursorIdle = 0;
    timers_.start(TimerId::PointerHide, 1000);
}

void PlayerController::leaveFullScreen() {
    if (!state_.fullScreen()) return;
    snapping_ = true;
    state_.mode = ScreenMode::Normal;
    view_.setPointer(PointerShape::Arrow);
    timers_.kill(TimerId::PointerHide);
    if (playlist_) playlist_->setShown(state_.playlistShownBeforeFullScreen);
    view_.focus();
    view_.setFullScreen(false);
    view_.setWindowRect(state_.normalRect);
    relayout();
}

void PlayerController::toggleFullScreen() {
    if (state_.fullScreen()) {
        leaveFullScreen();
    } else {
        enterFullScreen();
    }
}

void PlayerController::toggleMaximized() {
    if (state_.mode == ScreenMode::Maximized) {
        state_.mode = ScreenMode::FullScreen;
        leaveFullScreen();
        return;
    }
    if (!state_.fullScreen()) enterFullScreen();
    state_.mode = ScreenMode::Maximized;
    relayout();
}

void PlayerController::toggleAlwaysOnTop() {
    settings_.alwaysOnTop = !settings_.alwaysOnTop;
    view_.setTopMost(settings_.alwaysOnTop);
}

void PlayerController::toggleKeepAspect() {
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

void PlayerController::zoomTo(double factor) {
    if (state_.fullScreen()) leaveFullScreen();
    applyWindowRect(geometry::zoomRect(view_.windowRect(), state_.native, factor, view_.screenRect()));
}

void PlayerController::zoom(double factor, int code) {
    if (view_.shiftHeld() || view_.ctrlHeld()) return;
    zoomTo(factor);
    state_.lastZoom = code;
}

void PlayerController::setAspect(geometry::AspectChoice choice) {
    const MediaEngine& e = *engine_;
    if (!e.flags().loaded || !e.flags().hasVideo || state_.fullScreen()) return;
    state_.native = geometry::aspectNativeSize(choice, {e.videoWidth(), e.videoHeight()});
    applyWindowRect(geometry::rectForNativeSize(view_.windowRect(), state_.native,
                                                caption_.captionSpace, &state_.aspect));
}

void PlayerController::showPanScan() {
    if (osd_ && osd::switchOn(store_, osd::Switch::PanScan)) osd_->show(osd::panScanText(state_.panScan), 0);
}

void PlayerController::panScanLess() {
    if (!state_.fullScreen()) return;
    state_.panScan = geometry::panScanLess(state_.panScan);
    relayout();
    showPanScan();
}

void PlayerController::panScanMore() {
    if (!state_.fullScreen()) return;
    state_.panScan = geometry::panScanMore(state_.panScan);
    relayout();
    showPanScan();
}

void PlayerController::panScanNone() {
    state_.panScan = 0;
    relayout();
    showPanScan();
}

void PlayerController::hideMainWindow() {
    showTransportBar(false);
    state_.normalRect = view_.windowRect();
    writeScreenRect(state_.normalRect);
    view_.setWindowShown(false);
    settings_.showMainDlg = false;
    settings::put(store_, keys::ShowMainDlg, 0);
}

void PlayerController::showMainWindow() {
    view_.setWindowShown(false);
    view_.setWindowRect(state_.normalRect);
    view_.setWindowShown(true);
    view_.setTopMost(settings_.alwaysOnTop);
    settings_.showMainDlg = true;
    settings::put(store_, keys::ShowMainDlg, 1);
    relayout();
}

void PlayerController::showTransportBar(bool shown) {
    const bool changed = state_.barShown != shown;
    state_.barShown = shown;
    if (transport_)
        transport_->place(geometry::shownTransportBarRect(view_.windowRect(), state_.barHeight), shown);
    // The caption stands above a bar that lies over the picture.
    if (changed) timers_.start(TimerId::CaptionRedraw, 50);
}

CaptionFrame PlayerController::captionFrame() const {
    const Rect window = view_.windowRect();
    return {window.width(), window.height(), state_.barShown, state_.barHeight};
}

void PlayerController::applyCaptionSpace() {
    if (state_.fullScreen()) {
        applyWindowRect(view_.windowRect());
        return;
    }
    applyWindowRect(geometry::rectForNativeSize(view_.windowRect(), state_.native,
                                                caption_.captionSpace, &state_.aspect));
}

void PlayerController::minimize() {
    showTransportBar(false);
    view_.minimize();
}

void PlayerController::systemMaximize() {
    if (state_.fullScreen()) {
        leaveFullScreen();
        return;
    }
    // The window manager may already have made the window big: the normal rectangle is ours.
    const Rect normal = state_.normalRect;
    view_.setWindowRect(normal);
    enterFullScreen(normal);
}

void PlayerController::systemMinimized() { showTransportBar(false); }

PlayerController::PointerAction PlayerController::pointerMoved(Point client) {
    if (state_.trackDragging || state_.rangeEditing || state_.barHold) return PointerAction::None;
    const Rect window = view_.windowRect();
    if (state_.dragging && (client.x != state_.pressPoint.x || client.y != state_.pressPoint.y) &&
        !state_.fullScreen()) {
        click_.dragged();
        view_.setPointer(PointerShape::Move);
        return PointerAction::StartDrag;
    }
    const Point screen = view_.cursorPos();
    if (engine_->flags().opening) {
        view_.setPointer(PointerShape::Wait);
    } else if (screen.x != state_.idleCursor.x || screen.y != state_.idleCursor.y) {
        view_.setPointer(PointerShape::Arrow);
    }
    if (geometry::inTransportBand(client, {window.width(), window.height()}, state_.barHeight)) {
        timers_.start(TimerId::BarAutoHide, 500);
        if (!state_.barShown) showTransportBar(true);
        state_.cursorIdle = 0;
        timers_.kill(TimerId::PointerHide);
        return PointerAction::None;
    }
    if (state_.barShown) showTransportBar(false);
    if (state_.fullScreen()) {
        // Two seconds without movement from now on.
        state_.cursorIdle = 0;
        timers_.start(TimerId::PointerHide, 1000);
    }
    return PointerAction::None;
}

int PlayerController::leftButtonDown(Point client, int screenX, bool activating) {
    if (!state_.fullScreen()) {
        const Rect w = view_.windowRect();
        const int border = std::clamp(settings::get(store_, keys::BorderSize), 0,
                                      std::min(w.width(), w.height()) / 3);
        const int zone = geometry::borderZone(client, {w.width(), w.height()}, border);
        if (zone != 0) return zone;
    }
    state_.dragging = true;
    state_.pressPoint = client;
    click_.press(screenX, activating);
    return 0;
}

void PlayerController::leftButtonUp(int screenX) {
    state_.dragging = false;
    const auto& f = engine_->flags();
    if (click_.release(screenX, f.loaded && (f.playing || f.paused))) engine_->togglePause();
}

MenuState PlayerController::menuState() const {
    const auto& f = engine_->flags();
    MenuState m;
    m.loaded = f.loaded;
    m.hasVideo = f.loaded && f.hasVideo;
    m.captionsLoaded = f.captionsLoaded;
    m.captionLanguages = captions_ ? captions_->languageCount() : 0;
    if (captions_) {
        const CaptionEncodingState encoding = captions_->captionEncoding();
        m.captionEncoding = encoding.encoding;
        m.captionEncodingChosen = encoding.chosen;
    }
    m.showCaption = caption_.showCaption;
    m.ignoreSubtitleStyle = settings::get(store_, keys::IgnoreSubtitleStyle);
    m.twoLanguages = settings::get(store_, keys::ShowTwoLanguages);
    m.fullScreen = state_.fullScreen();
    m.maximized = state_.mode == ScreenMode::Maximized;
    m.escKey = KeyContext::read(store_, m.fullScreen).escKey;
    m.mainWindowShown = settings_.showMainDlg;
    m.playlistShown = playlist_ && playlist_->isShown();
    m.alwaysOnTop = settings_.alwaysOnTop;
    m.keepAspect = settings_.keepAspect;
    m.repeatItem = settings_.repeat;
    m.captionSmoothing = caption_.fontAlias;
    m.muted = volume_.muted();
    m.zoomCode = state_.lastZoom;
    m.jumps = JumpSettings::read(store_);
    if (dialogs_) m.drives = dialogs_->opticalDrives();
    m.filters = engine_->filters();
    return m;
}

void PlayerController::contextMenuOpened() {
    state_.cursorIdle = 0;
    timers_.kill(TimerId::PointerHide);
    click_.menuOpened();
}

void PlayerController::contextMenuClosed() {
    click_.menuClosed();
    timers_.start(TimerId::ClickGuard, kMenuClickGuardMs);
}

void PlayerController::dragTo(Point topLeft) {
    Rect r = view_.windowRect();
    r = r.moved(topLeft.x - r.left, topLeft.y - r.top);
    if (snapping_) {
        std::optional<Rect> other;
        if (playlist_ && playlist_->isShown()) other = playlist_->rect();
        // A playlist window docked to our edge moves with us: it is no target to snap to.
        if (other && geometry::touches(view_.windowRect(), *other)) other.reset();
        r = geometry::snapRect(r, view_.screenRect(), view_.taskbarRect(), other);
    }
    view_.setWindowRect(r);
    state_.normalRect = r;
    timers_.start(TimerId::CaptionRedraw, 50);
}

Rect PlayerController::sizing(const Rect& proposed, geometry::SizingEdge edge) {
    Rect r = proposed;
    if (settings_.keepAspect && !state_.fullScreen()) r = geometry::keepProportions(r, edge, state_.aspect);
    if (r.width() < geometry::kMinWidth) r.right = r.left + geometry::kMinWidth;
    if (r.height() < geometry::kMinHeight) r.bottom = r.top + geometry::kMinHeight;
    if (!state_.fullScreen()) state_.normalRect = r;
    return r;
}

void PlayerController::sized() {
    if (!state_.initialised) return;
    relayout();
    if (!(engine_->flags().loaded && engine_->flags().hasVideo)) view_.repaint();
}

void PlayerController::moved() {
    timers_.start(TimerId::CaptionRedraw, 50);
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
        if (engine_->flags().loaded && captions_) captions_->loadDropped(paths[0]);
        view_.setPointer(PointerShape::Arrow);
        if (transport_) transport_->refresh();
        return;
    }
    if (paths.size() == 1 && endsWith(paths[0], {".bmp", ".gif", ".jpg", ".jpeg"})) {
        settings_.backMode = 0;
        settings_.backImage = paths[0];
        view_.setBackground(settings_.backMode, settings_.backColor, settings_.backImage);
        if (!(engine_->flags().loaded && engine_->flags().hasVideo)) {
            determineIdleSize();
            state_.native = state_.idleSize;
            state_.aspect = static_cast<double>(state_.idleSize.width) / state_.idleSize.height;
            Rect r = view_.windowRect();
            if (settings_.keepAspect) r.bottom = r.top + static_cast<int>(r.width() / state_.aspect);
            applyWindowRect(r);
        }
        view_.repaint();
        return;
    }
    if (playlist_) playlist_->dropFiles(paths);
}

}  // namespace orvalis
