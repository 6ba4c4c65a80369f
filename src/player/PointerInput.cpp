#include "player/PointerInput.h"

#include <algorithm>

#include "base/SettingsKeys.h"
#include "player/OsdMessages.h"

namespace orvalis {

using geometry::Point;
using geometry::Rect;

PointerInput::PointerInput(PlayerParts& parts, ScreenModes& screen)
    : parts_(parts),
      screen_(screen),
      view_(parts.view),
      timers_(parts.timers),
      state_(parts.state) {}

PointerInput::PointerAction PointerInput::pointerMoved(Point client) {
    if (state_.trackDragging || state_.rangeEditing || state_.barHold) return PointerAction::None;
    const Rect window = view_.windowRect();
    if (state_.dragging && (client.x != state_.pressPoint.x || client.y != state_.pressPoint.y) &&
        !state_.fullScreen()) {
        parts_.click.dragged();
        view_.setPointer(PointerShape::Move);
        return PointerAction::StartDrag;
    }
    const Point screen = view_.cursorPos();
    if (parts_.engine->flags().opening) {
        view_.setPointer(PointerShape::Wait);
    } else if (screen.x != state_.idleCursor.x || screen.y != state_.idleCursor.y) {
        view_.setPointer(PointerShape::Arrow);
    }
    if (geometry::inTransportBand(client, {window.width(), window.height()}, state_.barHeight)) {
        timers_.start(TimerId::BarAutoHide, 500);
        if (!state_.barShown) screen_.showTransportBar(true);
        state_.cursorIdle = 0;
        timers_.kill(TimerId::PointerHide);
        return PointerAction::None;
    }
    if (state_.barShown) screen_.showTransportBar(false);
    if (state_.fullScreen()) {
        // Two seconds without movement from now on.
        state_.cursorIdle = 0;
        timers_.start(TimerId::PointerHide, 1000);
    }
    return PointerAction::None;
}

int PointerInput::leftButtonDown(Point client, int screenX, bool activating) {
    if (!state_.fullScreen()) {
        const Rect w = view_.windowRect();
        const int border = std::clamp(settings::get(parts_.store, keys::BorderSize), 0,
                                      std::min(w.width(), w.height()) / 3);
        const int zone = geometry::borderZone(client, {w.width(), w.height()}, border);
        if (zone != 0) return zone;
    }
    state_.dragging = true;
    state_.pressPoint = client;
    parts_.click.press(screenX, activating);
    return 0;
}

void PointerInput::leftButtonUp(int screenX) {
    state_.dragging = false;
    const auto& f = parts_.engine->flags();
    if (parts_.click.release(screenX, f.loaded && (f.playing || f.paused)))
        parts_.engine->togglePause();
}

void PointerInput::contextMenuOpened() {
    state_.cursorIdle = 0;
    timers_.kill(TimerId::PointerHide);
    parts_.click.menuOpened();
}

void PointerInput::contextMenuClosed() {
    parts_.click.menuClosed();
    timers_.start(TimerId::ClickGuard, kMenuClickGuardMs);
}

void PointerInput::dragTo(Point topLeft) {
    Rect r = view_.windowRect();
    r = r.moved(topLeft.x - r.left, topLeft.y - r.top);
    if (screen_.snapping()) {
        std::optional<Rect> other;
        if (parts_.playlist && parts_.playlist->isShown()) other = parts_.playlist->rect();
        // A playlist window docked to our edge moves with us: it is no target to snap to.
        if (other && geometry::touches(view_.windowRect(), *other)) other.reset();
        r = geometry::snapRect(r, view_.screenRect(), view_.taskbarRect(), other);
    }
    view_.setWindowRect(r);
    state_.normalRect = r;
    timers_.start(TimerId::CaptionRedraw, 50);
}

// ---------------------------------------------------------------------------------------------
// The transport bar while the user works on it

void PointerInput::seekPreview(int tenths, bool dragging) {
    state_.trackDragging = dragging;
    timers_.kill(TimerId::BarAutoHide);
    if (!parts_.osd) return;
    const geometry::Point cursor = view_.cursorPos();
    const osd::Point at = osd::seekPreviewAnchor({cursor.x, cursor.y});
    parts_.osd->showAt(osd::seekPreviewText(tenths * 0.1, view_.shiftHeld()), {at.x, at.y}, -1);
}

void PointerInput::seekPreviewEnded() {
    if (parts_.osd) parts_.osd->hide();
    state_.trackDragging = false;
    timers_.start(TimerId::BarAutoHide, 500);
}

void PointerInput::holdBar(bool held) {
    state_.barHold = held;
    if (held) {
        timers_.kill(TimerId::BarAutoHide);
    } else {
        timers_.start(TimerId::BarAutoHide, 500);
    }
}

// ---------------------------------------------------------------------------------------------
// The timers' steps

void PointerInput::pointerHideTick() {
    if (++state_.cursorIdle < 2) return;
    const bool playlistHidden = !parts_.playlist || !parts_.playlist->isShown();
    if (playlistHidden && !timers_.isActive(TimerId::ClickGuard)) {
        view_.setPointer(PointerShape::Blank);
        timers_.kill(TimerId::PointerHide);
        state_.cursorIdle = 0;
        state_.idleCursor = view_.cursorPos();
    }
}

void PointerInput::barAutoHideTick() {
    Rect r = view_.windowRect();
    r.bottom -= 5;
    if (!r.contains(view_.cursorPos())) {
        if (state_.barShown) screen_.showTransportBar(false);
        if (parts_.captions) parts_.captions->draw();
        timers_.kill(TimerId::BarAutoHide);
    }
}

}  // namespace orvalis
