#include "playlist/PlaylistWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QToolTip>
#include <algorithm>

#include "playlist/PlaylistButtons.h"
#include "playlist/PlaylistGeometry.h"
#include "playlist/PlaylistListView.h"
#include "playlist/SchemeDialog.h"

namespace orvalis {

namespace {

// How long changes wait before they are written, so that a burst of them is one write.
constexpr int kSaveDelayMs = 1500;
// The band along the window's edges, and the corner square, that resize it.
constexpr int kEdgeBand = 3;
constexpr int kGripSize = 12;
// The height the control row adds below the list.
constexpr int kControlRowHeight = 18;

QRect toQRect(const PlaylistRect& r) {
    return QRect(r.left, r.top, r.width(), r.height());
}

geometry::Rect toRect(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

QFont listFont(QFont font) {
    // Nanum Gothic stands where the dialogs of the Korean desktop used Dotum.
    font.setFamilies({"NanumGothic", "Nanum Gothic", "NanumBarunGothic", "Noto Sans CJK KR"});
    font.setPointSize(9);
    return font;
}

}  // namespace

PlaylistWindow::PlaylistWindow(SettingsStore& settings, Prompter& prompter, PlaylistHost host,
                               QWidget* player)
    : QWidget(player, Qt::Tool | Qt::FramelessWindowHint),
      settings_(settings),
      prompter_(prompter),
      logic_(settings, prompter, files_, std::move(host)) {
    setWindowTitle(QStringLiteral("재생 목록"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setMouseTracking(true);
    setFont(listFont(font()));

    list_ = new PlaylistListView(logic_, this);
    list_->setForwardTarget(player);
    list_->onContextMenu = [this](const QPoint& p) { showContextMenu(p); };
    setFocusProxy(list_);
    createButtons();

    saveTimer_.setSingleShot(true);
    saveTimer_.setInterval(kSaveDelayMs);
    connect(&saveTimer_, &QTimer::timeout, this, [this] { logic_.saveState(); });

    logic_.attachView(this);
    placeAtStart();
    logic_.initialise();
}

PlaylistWindow::~PlaylistWindow() {
    saveTimer_.stop();
    logic_.saveState();
    logic_.attachView(nullptr);
    // The list reads the rows that the logic holds: it goes before them.
    delete list_;
    list_ = nullptr;
}

void PlaylistWindow::saveNow() {
    saveTimer_.stop();
    logic_.saveState();
}

void PlaylistWindow::createButtons() {
    const PlaylistButton all[] = {
        PlaylistButton::MainMenu, PlaylistButton::Check, PlaylistButton::MinimizeMain,
        PlaylistButton::Hide,     PlaylistButton::Add,   PlaylistButton::Delete,
        PlaylistButton::Clear,    PlaylistButton::Sort,  PlaylistButton::Save,
        PlaylistButton::Previous, PlaylistButton::Play,  PlaylistButton::Pause,
        PlaylistButton::Stop,     PlaylistButton::Next};
    for (PlaylistButton which : all) {
        auto* b = new PlaylistIconButton(which, this);
        b->setToolTip(QString::fromStdString(logic_.buttonTip(which)));
        connect(b, &QAbstractButton::clicked, this, [this, which] { logic_.button(which); });
        buttons_[which] = b;
    }
    // The Hide button's tip says what it will do now.
    buttons_[PlaylistButton::Hide]->installEventFilter(this);
}

PlaylistIconButton* PlaylistWindow::button(PlaylistButton which) const {
    return buttons_.at(which);
}

QRect PlaylistWindow::screenArea() const {
    QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
}

void PlaylistWindow::placeAtStart() {
    QScreen* home = parentWidget() && parentWidget()->screen() ? parentWidget()->screen()
                                                               : QGuiApplication::primaryScreen();
    const QRect screen = home ? home->geometry() : QRect(0, 0, 1024, 768);
    setMinimumSize(kPlaylistMinWidth, kPlaylistMinHeight);
    setMaximumWidth(std::max(kPlaylistMinWidth, playlistMaxWidth(screen.width())));
    // The player window's screen first: the default place is beside it.
    std::vector<PlaylistRect> screens;
    if (home) screens.push_back(toRect(home->availableGeometry()));
    for (QScreen* s : QGuiApplication::screens())
        if (s != home) screens.push_back(toRect(s->availableGeometry()));
    setGeometry(toQRect(readPlaylistPlacement(settings_, screens)));
}

// ---------------------------------------------------------------------------------------------
// Layout and drawing

void PlaylistWindow::relayout() {
    PlaylistLayout l = layoutPlaylist(width(), height(), controlsShown_);
    list_->setGeometry(toQRect(l.list));
    buttons_[PlaylistButton::MainMenu]->setGeometry(toQRect(l.mainMenu));
    buttons_[PlaylistButton::Check]->setGeometry(toQRect(l.check));
    buttons_[PlaylistButton::MinimizeMain]->setGeometry(toQRect(l.minimizeMain));
    buttons_[PlaylistButton::Hide]->setGeometry(toQRect(l.hide));
    const PlaylistButton edit[] = {PlaylistButton::Add, PlaylistButton::Delete,
                                   PlaylistButton::Clear, PlaylistButton::Sort,
                                   PlaylistButton::Save};
    const PlaylistButton control[] = {PlaylistButton::Previous, PlaylistButton::Play,
                                      PlaylistButton::Pause, PlaylistButton::Stop,
                                      PlaylistButton::Next};
    for (size_t i = 0; i < 5; ++i) {
        buttons_[edit[i]]->setGeometry(toQRect(l.editRow[i]));
        buttons_[control[i]]->setGeometry(toQRect(l.controlRow[i]));
        buttons_[control[i]]->setVisible(l.controlsVisible);
    }
}

void PlaylistWindow::resizeEvent(QResizeEvent* event) {
    relayout();
    QWidget::resizeEvent(event);
}

void PlaylistWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), PlaylistChrome::frame());
    p.setPen(PlaylistChrome::border());
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    // A grip of three short diagonals in the corner that sizes the window.
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(PlaylistChrome::iconDisabled(), 1.2));
    const QPointF corner(width() - 3, height() - 3);
    for (int i = 1; i <= 3; ++i)
        p.drawLine(corner - QPointF(3.0 * i, 0), corner - QPointF(0, 3.0 * i));
}

// ---------------------------------------------------------------------------------------------
// PlaylistWindowView

void PlaylistWindow::rowsChanged() {
    list_->reloadRows();
}

void PlaylistWindow::rowsRepainted() {
    list_->viewport()->update();
}

void PlaylistWindow::showRow(int row) {
    list_->scrollTo(list_->rows().index(row), QAbstractItemView::EnsureVisible);
}

void PlaylistWindow::setOpacity(int alpha) {
    setWindowOpacity(std::clamp(alpha, 0, 255) / 255.0);
}

bool PlaylistWindow::isShown() const {
    return isVisible();
}

void PlaylistWindow::setShown(bool shown) {
    if (shown) {
        show();
        raise();
    } else {
        hide();
    }
}

geometry::Rect PlaylistWindow::windowRect() const {
    return toRect(geometry());
}

void PlaylistWindow::setControlsShown(bool shown, bool keepListHeight) {
    const bool was = controlsShown_;
    controlsShown_ = shown;
    if (keepListHeight && was != shown)
        resize(width(), height() + (shown ? kControlRowHeight : -kControlRowHeight));
    relayout();
}

void PlaylistWindow::setControlButtons(const ControlButtons& state) {
    buttons_[PlaylistButton::Play]->setLatched(state.playDown);
    buttons_[PlaylistButton::Pause]->setLatched(state.pauseDown);
    buttons_[PlaylistButton::Pause]->setEnabled(state.pauseEnabled);
    buttons_[PlaylistButton::Stop]->setEnabled(state.stopEnabled);
}

void PlaylistWindow::setScheme(const ColorScheme& scheme) {
    list_->setScheme(scheme);
}

bool PlaylistWindow::runSchemeDialog() {
    return SchemeDialog::run(this, settings_, prompter_);
}

void PlaylistWindow::requestSave() {
    saveTimer_.start();
}

void PlaylistWindow::showTip(const std::string& text, int milliseconds) {
    QToolTip::showText(QCursor::pos(), QString::fromStdString(text), this, QRect(), milliseconds);
}

void PlaylistWindow::setBusy(bool busy) {
    if (busy) {
        if (busyDepth_++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (busyDepth_ > 0 && --busyDepth_ == 0) {
        QApplication::restoreOverrideCursor();
    }
}

// ---------------------------------------------------------------------------------------------
// Events

void PlaylistWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange) logic_.activationChanged(isActiveWindow());
    QWidget::changeEvent(event);
}

void PlaylistWindow::keyPressEvent(QKeyEvent* event) {
    list_->routeKey(event);
}

bool PlaylistWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip && watched == buttons_[PlaylistButton::Hide])
        buttons_[PlaylistButton::Hide]->setToolTip(
            QString::fromStdString(logic_.buttonTip(PlaylistButton::Hide)));
    return QWidget::eventFilter(watched, event);
}

void PlaylistWindow::closeEvent(QCloseEvent* event) {
    // Closing the window by the desktop's means is its Hide button.
    event->ignore();
    logic_.button(PlaylistButton::Hide);
}

Qt::Edges PlaylistWindow::edgesAt(const QPoint& pos) const {
    if (pos.x() >= width() - kGripSize && pos.y() >= height() - kGripSize)
        return Qt::RightEdge | Qt::BottomEdge;
    Qt::Edges edges;
    if (pos.x() < kEdgeBand) edges |= Qt::LeftEdge;
    if (pos.x() >= width() - kEdgeBand) edges |= Qt::RightEdge;
    if (pos.y() < kEdgeBand) edges |= Qt::TopEdge;
    if (pos.y() >= height() - kEdgeBand) edges |= Qt::BottomEdge;
    return edges;
}

void PlaylistWindow::mousePressEvent(QMouseEvent* event) {
    switch (event->button()) {
        case Qt::LeftButton:
            pressGlobal_ = event->globalPosition().toPoint();
            pressGeometry_ = geometry();
            sizingEdges_ = edgesAt(event->position().toPoint());
            track_ = sizingEdges_ ? Track::Sizing : Track::Moving;
            break;
        case Qt::MiddleButton:
            logic_.middleClick();
            break;
        case Qt::RightButton:
            showContextMenu(event->globalPosition().toPoint());
            break;
        default:
            break;
    }
    event->accept();
}

void PlaylistWindow::mouseMoveEvent(QMouseEvent* event) {
    const QPoint delta = event->globalPosition().toPoint() - pressGlobal_;
    if (track_ == Track::Moving) {
        const QRect proposed = pressGeometry_.translated(delta);
        const geometry::Rect snapped = logic_.snap(toRect(proposed), toRect(screenArea()));
        move(snapped.left, snapped.top);
    } else if (track_ == Track::Sizing) {
        QRect r = pressGeometry_;
        if (sizingEdges_ & Qt::LeftEdge)
            r.setLeft(std::min(r.left() + delta.x(), r.right() - minimumWidth() + 1));
        if (sizingEdges_ & Qt::RightEdge) r.setRight(r.right() + delta.x());
        if (sizingEdges_ & Qt::TopEdge)
            r.setTop(std::min(r.top() + delta.y(), r.bottom() - minimumHeight() + 1));
        if (sizingEdges_ & Qt::BottomEdge) r.setBottom(r.bottom() + delta.y());
        r.setWidth(std::clamp(r.width(), minimumWidth(), maximumWidth()));
        r.setHeight(std::max(r.height(), minimumHeight()));
        setGeometry(r);
    } else {
        const Qt::Edges edges = edgesAt(event->position().toPoint());
        const bool diagonalDown =
            edges == (Qt::RightEdge | Qt::BottomEdge) || edges == (Qt::LeftEdge | Qt::TopEdge);
        const bool diagonalUp =
            edges == (Qt::RightEdge | Qt::TopEdge) || edges == (Qt::LeftEdge | Qt::BottomEdge);
        if (diagonalDown) {
            setCursor(Qt::SizeFDiagCursor);
        } else if (diagonalUp) {
            setCursor(Qt::SizeBDiagCursor);
        } else if (edges & (Qt::LeftEdge | Qt::RightEdge)) {
            setCursor(Qt::SizeHorCursor);
        } else if (edges & (Qt::TopEdge | Qt::BottomEdge)) {
            setCursor(Qt::SizeVerCursor);
        } else {
            unsetCursor();
        }
    }
}

void PlaylistWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && track_ != Track::None) {
        const bool changedPlace = geometry() != pressGeometry_;
        track_ = Track::None;
        if (changedPlace) logic_.placementChanged();
    }
    event->accept();
}

// ---------------------------------------------------------------------------------------------
// Context menu

void PlaylistWindow::fillMenu(QMenu* menu, const std::vector<PlaylistMenuItem>& items) {
    for (const PlaylistMenuItem& item : items) {
        if (item.separator) {
            menu->addSeparator();
        } else if (!item.submenu.empty()) {
            fillMenu(menu->addMenu(QString::fromStdString(item.label)), item.submenu);
        } else {
            QAction* action = menu->addAction(QString::fromStdString(item.label));
            action->setData(item.command);
            action->setEnabled(item.enabled);
            action->setCheckable(item.checked);
            action->setChecked(item.checked);
        }
    }
}

void PlaylistWindow::showContextMenu(const QPoint& globalPos) {
    QMenu menu(this);
    fillMenu(&menu, logic_.contextMenu());
    QAction* chosen = menu.exec(globalPos);
    if (chosen && chosen->data().isValid()) logic_.menuCommand(chosen->data().toInt());
}

}  // namespace orvalis
