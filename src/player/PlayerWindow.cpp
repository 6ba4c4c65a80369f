#include "player/PlayerWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDragEnterEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QTimer>
#include <QUrl>

#include "base/AppPaths.h"
#include "base/AtomicFile.h"
#include "base/Startup.h"
#include "engine/VideoOutput.h"
#include "player/KeyMap.h"
#include "player/VideoSurface.h"

namespace orvalis {

using geometry::Rect;

namespace {

Rect toRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }
QRect toQRect(const Rect& r) { return QRect(r.left, r.top, r.width(), r.height()); }

QColor colourOf(int colorref) {
    return QColor(colorref & 0xFF, (colorref >> 8) & 0xFF, (colorref >> 16) & 0xFF);
}

}  // namespace

PlayerWindow::PlayerWindow() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint) {
    setWindowTitle(QString::fromLatin1(kWindowTitle));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAcceptDrops(true);
    setMinimumSize(geometry::kMinWidth, geometry::kMinHeight);
}

PlayerWindow::~PlayerWindow() = default;

void PlayerWindow::attach(PlayerController& controller, PlayerBackend& backend) {
    controller_ = &controller;
    backend_ = &backend;
}

void PlayerWindow::setVideoSurface(VideoSurface* surface) {
    surface_ = surface;
    surface_->widget()->setGeometry(rect());
}

void PlayerWindow::receiveHandOver(const std::vector<std::string>& paths) {
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
    controller_->receiveHandOver(paths);
}

// ---------------------------------------------------------------------------------------------
// PlayerView

Rect PlayerWindow::windowRect() const { return toRect(geometry()); }

Rect PlayerWindow::screenRect() const {
    QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    return toRect(s->availableGeometry());
}

void PlayerWindow::setWindowRect(const Rect& rect) {
    if (rect.empty()) return;
    setGeometry(toQRect(rect));
}

void PlayerWindow::setPictureLayout(const geometry::Layout& layout, geometry::ScreenMode mode) {
    layout_ = layout;
    mode_ = mode;
    surface_->widget()->setGeometry(rect());
    surface_->setShowVideo(layout.showsVideo);
    const auto& st = controller_->state();
    const geometry::VideoPlacement p =
        geometry::placementFor(layout, {width(), height()}, st.native, mode);
    backend_->setVideoPlacement(p.marginLeft, p.marginTop, p.marginRight, p.marginBottom,
                               p.keepAspect, p.zoom);
}

void PlayerWindow::setFullScreen(bool on) {
    if (on) {
        const QRect screenArea = (screen() ? screen() : QGuiApplication::primaryScreen())->geometry();
        // Without a window manager nobody else makes the window cover the screen.
        setGeometry(screenArea);
        showFullScreen();
    } else {
        showNormal();
    }
}

void PlayerWindow::setTopMost(bool on) {
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (visible) show();
}

void PlayerWindow::setWindowShown(bool shown) {
    if (shown) {
        show();
        raise();
    } else {
        hide();
    }
}

void PlayerWindow::focus() {
    activateWindow();
    setFocus();
}

void PlayerWindow::setPointer(PointerShape shape) {
    switch (shape) {
        case PointerShape::Arrow: unsetCursor(); break;
        case PointerShape::Wait: setCursor(Qt::WaitCursor); break;
        case PointerShape::Blank: setCursor(Qt::BlankCursor); break;
        case PointerShape::Move: setCursor(Qt::SizeAllCursor); break;
    }
    surface_->setPointer(cursor());
}

geometry::Point PlayerWindow::cursorPos() const {
    const QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

void PlayerWindow::repaint() {
    update();
    surface_->redraw();
}

void PlayerWindow::setBackground(int backMode, int backColor, const std::string& backImage) {
    backgroundImage_ = QImage();
    // Read like every outside file: a pipe or a device named as the picture never blocks.
    if (backMode == 0 && !backImage.empty()) {
        if (auto bytes = readWholeFile(backImage, std::size_t(64) << 20))
            backgroundImage_.loadFromData(reinterpret_cast<const uchar*>(bytes->data()),
                                          static_cast<int>(bytes->size()));
    }
    surface_->setIdlePicture(colourOf(backColor), backgroundImage_);
}

std::optional<geometry::Size> PlayerWindow::backgroundImageSize() const {
    if (backgroundImage_.isNull()) return std::nullopt;
    return geometry::Size{backgroundImage_.width(), backgroundImage_.height()};
}

bool PlayerWindow::hasVideoSurface() const { return surface_ && surface_->rendererReady(); }

bool PlayerWindow::shiftHeld() const {
    return QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier;
}

bool PlayerWindow::ctrlHeld() const {
    return QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier;
}

// ---------------------------------------------------------------------------------------------
// Events

void PlayerWindow::keyPressEvent(QKeyEvent* event) {
    const KeyModifiers modifiers = KeyModifiers::fromBits(static_cast<unsigned>(event->modifiers()));
    const KeyContext context = KeyContext::read(controller_->store(), controller_->state().fullScreen());
    const KeyAction action = mapKey(event->key(), modifiers, context);
    switch (action.kind) {
        case KeyAction::Kind::Command:
            controller_->runCommand(action.command);
            break;
        case KeyAction::Kind::PassToPlaylist:
            if (passKeyToPlaylist) passKeyToPlaylist(event);
            break;
        case KeyAction::Kind::Default:
            QWidget::keyPressEvent(event);
            return;
        case KeyAction::Kind::Nothing:
            break;
    }
    // Every other key is the player's: none reaches default processing.
    event->accept();
}

void PlayerWindow::wheelEvent(QWheelEvent* event) {
    const KeyModifiers modifiers = KeyModifiers::fromBits(static_cast<unsigned>(event->modifiers()));
    const QPoint delta = event->angleDelta();
    const int notches = wheel_.add(wheelTurn(delta.x(), delta.y(), modifiers));
    const int mouseWheel = MouseOptions::read(controller_->store()).mouseWheel;
    for (int i = 0; i < std::abs(notches); ++i) {
        if (auto command = mapWheel(notches > 0, modifiers, mouseWheel)) controller_->runCommand(*command);
    }
    event->accept();
}

void PlayerWindow::contextMenuEvent(QContextMenuEvent* event) {
    showContextMenu(event->globalPos());
    event->accept();
}

namespace {

void fillMenu(QMenu* menu, const std::vector<MenuItem>& items) {
    for (const MenuItem& item : items) {
        switch (item.kind) {
            case MenuItem::Kind::Separator:
                menu->addSeparator();
                break;
            case MenuItem::Kind::Submenu: {
                QMenu* sub = menu->addMenu(QString::fromStdString(item.label));
                sub->setEnabled(item.enabled);
                fillMenu(sub, item.children);
                break;
            }
            case MenuItem::Kind::Command: {
                // The text after the tab is the shortcut shown at the right.
                QAction* action = menu->addAction(QString::fromStdString(item.label));
                action->setData(item.command);
                action->setCheckable(item.checkable);
                action->setChecked(item.checked);
                action->setEnabled(item.enabled);
                break;
            }
        }
    }
}

}  // namespace

void PlayerWindow::showContextMenu(const QPoint& screenPos) {
    QMenu menu(this);
    fillMenu(&menu, buildContextMenu(controller_->menuState()));
    controller_->contextMenuOpened();
    QAction* chosen = menu.exec(screenPos);
    controller_->contextMenuClosed();
    if (chosen) controller_->runCommandNumber(chosen->data().toInt());
}

void PlayerWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        if (auto command = mapWheelClick(MouseOptions::read(controller_->store()).wheelClick))
            controller_->runCommand(*command);
        return;
    }
    if (event->button() != Qt::LeftButton) {
        setPointer(PointerShape::Arrow);
        return;
    }
    const QPoint p = event->position().toPoint();
    // A click that brings the window forward from another program only activates it.
    QWidget* active = QApplication::activeWindow();
    const bool activating = active != this && active != nullptr && !active->inherits("orvalis::PlaylistWindow");
    resizeZone_ = controller_->leftButtonDown({p.x(), p.y()}, event->globalPosition().toPoint().x(),
                                              activating || !isActiveWindow());
    pressGlobal_ = event->globalPosition().toPoint();
    pressGeometry_ = geometry();
    track_ = resizeZone_ ? MouseTrack::Resizing : MouseTrack::Pressed;
}

void PlayerWindow::mouseMoveEvent(QMouseEvent* event) {
    const QPoint global = event->globalPosition().toPoint();
    const QPoint delta = global - pressGlobal_;
    if (track_ == MouseTrack::Resizing && (event->buttons() & Qt::LeftButton)) {
        Rect r = toRect(pressGeometry_);
        const auto edge = geometry::edgeOfZone(resizeZone_);
        using E = geometry::SizingEdge;
        if (edge == E::Left || edge == E::TopLeft || edge == E::BottomLeft) r.left += delta.x();
        if (edge == E::Right || edge == E::TopRight || edge == E::BottomRight) r.right += delta.x();
        if (edge == E::Top || edge == E::TopLeft || edge == E::TopRight) r.top += delta.y();
        if (edge == E::Bottom || edge == E::BottomLeft || edge == E::BottomRight) r.bottom += delta.y();
        setWindowRect(controller_->sizing(r, edge));
        return;
    }
    if (track_ == MouseTrack::Dragging && (event->buttons() & Qt::LeftButton)) {
        const QPoint topLeft = pressGeometry_.topLeft() + delta;
        controller_->dragTo({topLeft.x(), topLeft.y()});
        return;
    }
    const QPoint p = event->position().toPoint();
    if (controller_->pointerMoved({p.x(), p.y()}) == PlayerController::PointerAction::StartDrag &&
        (event->buttons() & Qt::LeftButton)) {
        track_ = MouseTrack::Dragging;
        const QPoint topLeft = pressGeometry_.topLeft() + delta;
        controller_->dragTo({topLeft.x(), topLeft.y()});
    }
}

void PlayerWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        track_ = MouseTrack::None;
        controller_->leftButtonUp(event->globalPosition().toPoint().x());
        setPointer(PointerShape::Arrow);
    }
}

void PlayerWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void PlayerWindow::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls())
        paths.push_back(url.isLocalFile() ? fileUriPath(url.toEncoded().toStdString())
                                          : url.toString().toStdString());
    activateWindow();
    raise();
    controller_->dropFiles(paths);
    event->acceptProposedAction();
}

void PlayerWindow::closeEvent(QCloseEvent* event) {
    controller_->exit();
    event->accept();
}

void PlayerWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!controller_) return;
    surface_->widget()->setGeometry(rect());
    controller_->sized();
    keepPlaylistDocked();
}

void PlayerWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (!controller_) return;
    controller_->moved();
    keepPlaylistDocked();
}

// The window manager's maximize and minimize (its buttons, its keys, wmctrl) are the
// player's own system commands, not a big window or a bar left standing.
void PlayerWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !controller_) return;
    const Qt::WindowStates before = static_cast<QWindowStateChangeEvent*>(event)->oldState();
    const Qt::WindowStates now = windowState();
    if ((now & Qt::WindowMaximized) && !(before & Qt::WindowMaximized)) {
        // After the window system has finished with this change.
        QTimer::singleShot(0, this, [this] {
            if (!(windowState() & Qt::WindowMaximized)) return;
            setWindowState(windowState() & ~Qt::WindowMaximized);
            controller_->systemMaximize();
        });
    } else if ((now & Qt::WindowMinimized) && !(before & Qt::WindowMinimized)) {
        controller_->systemMinimized();
    }
}

void PlayerWindow::keepPlaylistDocked() {
    const QRect now = geometry();
    if (!docked_ || isFullScreen()) return;
    if (dockedTo_.isValid() && docked_->isVisible() && now != dockedTo_) {
        const QRect old = dockedTo_;
        QRect list = docked_->geometry();
        auto near = [](int a, int b) { return std::abs(a - b) <= 2; };
        const bool besideRight = near(list.left(), old.right() + 1);
        const bool besideLeft = near(list.right() + 1, old.left());
        const bool below = near(list.top(), old.bottom() + 1);
        if (besideRight) list.moveLeft(now.right() + 1);
        if (besideLeft) list.moveRight(now.left() - 1);
        if (below) list.moveTop(now.bottom() + 1);
        if ((besideRight || besideLeft) && near(list.top(), old.top())) list.moveTop(now.top());
        if (below && near(list.left(), old.left())) list.moveLeft(now.left());
        if (list != docked_->geometry()) docked_->setGeometry(list);
    }
    dockedTo_ = now;
}

}  // namespace orvalis
