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
#include <QUrl>

#include "app/AppPaths.h"
#include "app/Startup.h"
#include "controlpanel/ControlPanel.h"
#include "engine/MpvSoundPlayer.h"
#include "extras/BookmarkService.h"
#include "extras/CaptureService.h"
#include "extras/ShutdownDialog.h"
#include "extras/ShutdownService.h"
#include "extras/StreamAddressDialog.h"
#include "settings/FileAssociations.h"
#include "settings/PageValues.h"
#include "settings/SettingsSheet.h"
#include "captions/CaptionController.h"
#include "captions/CaptionRenderer.h"
#include "engine/VideoOutput.h"
#include "player/KeyMap.h"
#include "player/OsdTip.h"
#include "player/PlayerDialogs.h"
#include "playlist/PlaylistWindow.h"
#include "player/VideoSurface.h"

namespace orvalis {

using geometry::Rect;

namespace {

Rect toRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }
QRect toQRect(const Rect& r) { return QRect(r.left, r.top, r.width(), r.height()); }

QColor colourOf(int colorref) {
    return QColor(colorref & 0xFF, (colorref >> 8) & 0xFF, (colorref >> 16) & 0xFF);
}

// libmpv's raw screenshot of the video, as the capture takes it.
void requestFrame(VideoOutput& video, CaptureService::FrameAnswer answer) {
    video.grabFrame([answer = std::move(answer)](std::optional<VideoFrame> f) {
        answer(f ? RawFrame::copyOf(f->pixels.data(), f->width, f->height,
                                    static_cast<std::ptrdiff_t>(f->stride), f->format)
                 : std::nullopt);
    });
}

}  // namespace

PlayerWindow::PlayerWindow(Services services, std::string commandLineList)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      backend_(services.backend),
      settings_(services.settings),
      prompter_(services.prompter) {
    SettingsStore& settings = services.settings;
    PlayerBackend& backend = services.backend;
    Prompter& prompter = services.prompter;
    DesktopServices& desktop = services.desktop;
    setWindowTitle(QString::fromLatin1(kWindowTitle));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAcceptDrops(true);
    setMinimumSize(geometry::kMinWidth, geometry::kMinHeight);
    timers_ = std::make_unique<QtTimerService>([this](TimerId id) { controller_->onTimer(id); }, this);
    controller_ = std::make_unique<PlayerController>(
        PlayerController::Parts{settings, *timers_, backend, *this, desktop, prompter},
        std::move(commandLineList));
    controller_->onExited = [this] {
        if (playlist_) {
            playlist_->saveNow();
            playlist_->hide();
        }
        hide();
        emit exited();
    };
    osd_ = std::make_unique<OsdTip>(*timers_, [this] {
        const QRect client(mapToGlobal(QPoint(0, 0)), size());
        const QPoint cursor = QCursor::pos();
        osd::Placement p;
        p.client = {client.left(), client.top(), client.left() + client.width(),
                    client.top() + client.height()};
        p.mainWindowShown = controller_->windowSettings().showMainDlg && isVisible();
        p.barShown = controller_->state().barShown;
        p.barHeight = controller_->state().barHeight;
        p.cursor = {cursor.x(), cursor.y()};
        return p;
    });
    controller_->attachOsd(osd_.get());
    PlaylistHost host;
    host.openPath = [this](const std::string& path) { controller_->engine().openFile(path); };
    host.runCommand = [this](CommandId id) { controller_->runCommand(id); };
    host.mediaLoaded = [this] { return controller_->engine().flags().loaded; };
    host.playerShown = [this] { return controller_->windowSettings().showMainDlg; };
    host.playerInScreenMode = [this] { return controller_->state().fullScreen(); };
    host.minimizePlayer = [this] { controller_->minimize(); };
    host.showPlayerMenu = [this] { showContextMenu(QCursor::pos()); };
    host.playerRect = [this]() -> std::optional<Rect> { return windowRect(); };
    host.showTip = [this](const std::string& text, int ms) {
        const QPoint at = QCursor::pos();
        osd_->showAt(text, {at.x(), at.y()}, ms);
    };
    playlist_ = new PlaylistWindow(settings, prompter, std::move(host), this);
    controller_->attachPlaylist(&playlist_->port());
    passKeyToPlaylist = [this](QKeyEvent* event) {
        if (event->key() >= Qt::Key_0 && event->key() <= Qt::Key_5)
            playlist_->transparencyKey(event->key() - Qt::Key_0);
    };

    dialogs_ = new PlayerDialogs(this, *controller_, desktop);
    dialogs_->streamAddressDialog = [this] { return StreamAddressDialog::ask(this, settings_, prompter_); };
    controller_->attachDialogs(dialogs_);

    shutdown_ = std::make_unique<ShutdownService>(
        ShutdownService::Player{*timers_, *osd_, [this] { controller_->closeFile(); },
                                [this] { controller_->exit(); }},
        services.power, settings);
    shutdown_->setDialog([this] {
        return ShutdownDialog::ask(this, settings_, controller_->engine().flags().loaded);
    });
    controller_->attachShutdown(shutdown_.get());

    sound_ = std::make_unique<MpvSoundPlayer>(MpvSoundPlayer::Options{}, this);
    associations_ = std::make_unique<DesktopAssociations>(
        AssociationPlaces::forCurrentUser(QCoreApplication::applicationFilePath().toStdString()));
    // The sheet's seven pages (and the list of installed fonts) are built at its first use,
    // not at every start.
    lazySheet_.create = [this] {
        if (!sheet_) {
            sheet_ = std::make_unique<SettingsSheet>(
                SettingsSheet::Parts{settings_, prompter_, SheetEnvironment::current(settings_),
                                     associations_.get(), paths::dataDir(), sound_.get(), {}},
                this);
        }
        return sheet_.get();
    };
    controller_->attachSettingsSheet(&lazySheet_);

    surface_ = VideoSurface::create(backend_, *this);

    panel_ = new ControlPanel(
        settings, [this](CommandId id) { controller_->runCommand(id); }, *controller_, this);
    panel_->hide();
    panel_->setAttribute(Qt::WA_NativeWindow);  // a native window above the picture's
    controller_->attachTransport(panel_);

    bookmarks_ =
        std::make_unique<BookmarkService>(settings, BookmarkStore::defaultFilePath(), *osd_);
    bookmarks_->setTransport(panel_);
    controller_->attachBookmarks(bookmarks_.get());
    capture_ = std::make_unique<CaptureService>(
        CaptureService::Player{controller_->engine(),
                               [this](bool busy) { controller_->setBusyCursor(busy); },
                               [this](CaptureService::FrameAnswer answer) {
                                   requestFrame(backend_, std::move(answer));
                               }},
        *osd_, sound_.get(), settings, paths::picturesDir());
    controller_->attachCapture(capture_.get());
    const QScreen* primary = QGuiApplication::primaryScreen();
    captionRenderer_ = std::make_unique<CaptionRenderer>(
        primary ? primary->logicalDotsPerInch() : 96.0, devicePixelRatioF());
    captionRenderer_->imageChanged = [this](const QImage& image, QPoint at) {
        surface_->setCaptionImage(image, at);
    };
    captions_ = std::make_unique<CaptionController>(
        CaptionController::Parts{*controller_, controller_->captionStyle(), settings, *timers_,
                                 *captionRenderer_, prompter, desktop, osd_.get(), &backend_});
    controller_->attachCaptions(captions_.get());
}

PlayerWindow::~PlayerWindow() = default;

void PlayerWindow::start() { controller_->initialise(); }

void PlayerWindow::receiveHandOver(const QString& list) {
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
    controller_->receiveHandOver(list.toStdString());
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
    backend_.setVideoPlacement(p.marginLeft, p.marginTop, p.marginRight, p.marginBottom,
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
    if (backMode == 0 && !backImage.empty()) backgroundImage_.load(QString::fromStdString(backImage));
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
    const int notches = wheel_.add(event->angleDelta().y());
    const KeyModifiers modifiers = KeyModifiers::fromBits(static_cast<unsigned>(event->modifiers()));
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
        paths.push_back(url.isLocalFile() ? url.toLocalFile().toStdString() : url.toString().toStdString());
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
    surface_->widget()->setGeometry(rect());
    controller_->sized();
    keepPlaylistDocked();
}

void PlayerWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    controller_->moved();
    keepPlaylistDocked();
}

void PlayerWindow::keepPlaylistDocked() {
    const QRect now = geometry();
    if (!playlist_ || isFullScreen()) return;
    if (dockedTo_.isValid() && playlist_->isVisible() && now != dockedTo_) {
        const QRect old = dockedTo_;
        QRect list = playlist_->geometry();
        auto near = [](int a, int b) { return std::abs(a - b) <= 2; };
        const bool besideRight = near(list.left(), old.right() + 1);
        const bool besideLeft = near(list.right() + 1, old.left());
        const bool below = near(list.top(), old.bottom() + 1);
        if (besideRight) list.moveLeft(now.right() + 1);
        if (besideLeft) list.moveRight(now.left() - 1);
        if (below) list.moveTop(now.bottom() + 1);
        if ((besideRight || besideLeft) && near(list.top(), old.top())) list.moveTop(now.top());
        if (below && near(list.left(), old.left())) list.moveLeft(now.left());
        if (list != playlist_->geometry()) playlist_->setGeometry(list);
    }
    dockedTo_ = now;
}

}  // namespace orvalis
