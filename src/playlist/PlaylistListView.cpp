#include "playlist/PlaylistListView.h"

#include <unistd.h>

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QUrl>
#include <QWheelEvent>
#include <memory>

#include "base/Startup.h"

namespace orvalis {

namespace {

// A row drag carries this format with a value that names the list it came from.
constexpr const char* kRowDragFormat = "application/x-orvalis-playlist-rows";

}  // namespace

QColor qColourOf(Colorref colour) {
    Rgb rgb = toRgb(colour);
    return QColor(rgb.red, rgb.green, rgb.blue);
}

// ---------------------------------------------------------------------------------------------
// PlaylistRows

PlaylistRows::PlaylistRows(const PlaylistModel& rows, QObject* parent)
    : QAbstractListModel(parent), rows_(rows), count_(rows.count()) {}

int PlaylistRows::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count_;
}

QVariant PlaylistRows::data(const QModelIndex& index, int role) const {
    // The view may ask between a change of the rows and the reload that follows it.
    if (!index.isValid() || !rows_.valid(index.row())) return {};
    const PlaylistItem& item = rows_.at(index.row());
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(item.displayName);
        case Qt::ToolTipRole:
        case PathRole:
            return QString::fromStdString(item.path);
        case SelectedRole:
            return item.selected;
        case PlayingRole:
            return item.marker;
        default:
            return {};
    }
}

void PlaylistRows::reload() {
    beginResetModel();
    count_ = rows_.count();
    endResetModel();
}

// ---------------------------------------------------------------------------------------------
// PlaylistRowDelegate

void PlaylistRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    const bool selected = index.data(PlaylistRows::SelectedRole).toBool();
    const bool playing = index.data(PlaylistRows::PlayingRole).toBool();
    const RowPaint how = rowPaint(scheme_, selected, index.row() == dropRow_, playing);
    const QRect row = option.rect.translated(kRowShiftX, 0);
    painter->save();
    if (how.fill) painter->fillRect(row, qColourOf(how.fillColor));
    if (how.insertionMark)
        painter->fillRect(QRect(row.left(), row.top(), row.width(), 1), qColourOf(how.markColor));
    const QRect textRect = row.adjusted(kTextOffsetX, kTextOffsetY, -kTextOffsetX - kRowShiftX, 0);
    const QString name =
        option.fontMetrics.elidedText(index.data().toString(), Qt::ElideRight, textRect.width());
    painter->setFont(option.font);
    painter->setPen(qColourOf(how.textColor));
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, name);
    painter->restore();
}

QSize PlaylistRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    return QSize(option.rect.width(), option.fontMetrics.height() + 2 * kTextOffsetY);
}

// ---------------------------------------------------------------------------------------------
// PlaylistListView

PlaylistListView::PlaylistListView(PlaylistController& logic, QWidget* parent)
    : QListView(parent), logic_(logic) {
    rows_ = new PlaylistRows(logic.rows(), this);
    delegate_ = new PlaylistRowDelegate(this);
    setModel(rows_);
    setItemDelegate(delegate_);
    // Every row has the same height, so 100,000 rows lay out at once.
    setUniformItemSizes(true);
    // Selection lives in the rows themselves, where the list's rules keep it.
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    // Row drags and file drops are handled here, not by the item view's own machinery.
    setDragEnabled(false);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
}

void PlaylistListView::setScheme(const ColorScheme& scheme) {
    delegate_->setScheme(scheme);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, qColourOf(scheme.backColor));
    pal.setColor(QPalette::Window, qColourOf(scheme.backColor));
    setPalette(pal);
    viewport()->setAutoFillBackground(true);
    viewport()->update();
}

void PlaylistListView::reloadRows() {
    const int value = verticalScrollBar()->value();
    rows_->reload();
    executeDelayedItemsLayout();
    verticalScrollBar()->setValue(value);
}

int PlaylistListView::rowAt(const QPoint& viewportPos) const {
    QModelIndex index = indexAt(viewportPos);
    return index.isValid() ? index.row() : -1;
}

void PlaylistListView::forward(QEvent* event) {
    if (forwardTo_) QCoreApplication::postEvent(forwardTo_, event->clone());
}

// ---------------------------------------------------------------------------------------------
// Keys and wheel

void PlaylistListView::keyPressEvent(QKeyEvent* event) {
    routeKey(event);
}

void PlaylistListView::routeKey(QKeyEvent* event) {
    ListKey key = ListKey::Other;
    int digit = -1;
    const bool keypad = event->modifiers() & Qt::KeypadModifier;
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            key = ListKey::Enter;
            break;
        case Qt::Key_Up:
            key = ListKey::Up;
            break;
        case Qt::Key_Down:
            key = ListKey::Down;
            break;
        case Qt::Key_Delete:
            key = ListKey::Delete;
            break;
        default:
            // The keypad's digits are keys of their own for the player window.
            if (!keypad && event->key() >= Qt::Key_0 && event->key() <= Qt::Key_9) {
                key = ListKey::Digit;
                digit = event->key() - Qt::Key_0;
            }
            break;
    }
    if (logic_.key(key, event->modifiers() & Qt::ControlModifier, digit)) forward(event);
    event->accept();
}

void PlaylistListView::wheelEvent(QWheelEvent* event) {
    if (logic_.wheelGoesToPlayer()) {
        forward(event);
        event->accept();
        return;
    }
    QListView::wheelEvent(event);
}

// ---------------------------------------------------------------------------------------------
// Mouse

void PlaylistListView::mousePressEvent(QMouseEvent* event) {
    const int row = rowAt(event->position().toPoint());
    const Qt::KeyboardModifiers mods = event->modifiers();
    setFocus(Qt::MouseFocusReason);
    switch (event->button()) {
        case Qt::LeftButton: {
            const bool ctrl = mods & Qt::ControlModifier, shift = mods & Qt::ShiftModifier;
            pressRow_ = row;
            pressPos_ = event->position().toPoint();
            clickOnRelease_ = row >= 0 && !ctrl && !shift && logic_.rows().at(row).selected;
            if (!clickOnRelease_) logic_.click(row, ctrl, shift);
            break;
        }
        case Qt::MiddleButton:
            logic_.middleClick();
            break;
        case Qt::RightButton:
            logic_.rightClick(row);
            break;
        default:
            break;
    }
    event->accept();
}

void PlaylistListView::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton) || pressRow_ < 0) return;
    if ((event->position().toPoint() - pressPos_).manhattanLength() <
        QApplication::startDragDistance())
        return;
    const int row = pressRow_;
    pressRow_ = -1;
    clickOnRelease_ = false;
    startRowDrag(row);
}

void PlaylistListView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        if (clickOnRelease_) logic_.click(pressRow_, false, false);
        clickOnRelease_ = false;
        pressRow_ = -1;
    } else if (event->button() == Qt::RightButton && onContextMenu) {
        onContextMenu(event->globalPosition().toPoint());
    }
    event->accept();
}

void PlaylistListView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        logic_.doubleClick();
    } else if (event->button() == Qt::MiddleButton) {
        // The second press of a quick pair still counts as a press.
        logic_.middleClick();
    }
    event->accept();
}

// ---------------------------------------------------------------------------------------------
// Row drags and drops

QMimeData* PlaylistListView::rowDragMime() const {
    auto* mime = new QMimeData;
    mime->setData(kRowDragFormat, QByteArray::number(::getpid()) + ":" +
                                      QByteArray::number(reinterpret_cast<quintptr>(this)));
    return mime;
}

bool PlaylistListView::isOwnRowDrag(const QMimeData* mime) const {
    if (!mime || !mime->hasFormat(kRowDragFormat)) return false;
    std::unique_ptr<QMimeData> mine(rowDragMime());
    return mime->data(kRowDragFormat) == mine->data(kRowDragFormat);
}

void PlaylistListView::setDropRow(int row) {
    if (row == dropRow_) return;
    dropRow_ = row;
    delegate_->setDropRow(row);
    viewport()->update();
}

void PlaylistListView::startRowDrag(int row) {
    logic_.beginDrag(row);
    auto* drag = new QDrag(this);
    drag->setMimeData(rowDragMime());
    const QRect rowRect = visualRect(rows_->index(row));
    drag->setPixmap(viewport()->grab(rowRect.intersected(viewport()->rect())));
    // The picture of the row trails the pointer, down and to the right.
    drag->setHotSpot(QPoint(-20, -20));
    drag->exec(Qt::MoveAction);
    setDropRow(-1);
}

void PlaylistListView::dragEnterEvent(QDragEnterEvent* event) {
    if (isOwnRowDrag(event->mimeData())) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
        setDropRow(rowAt(event->position().toPoint()));
    } else if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void PlaylistListView::dragMoveEvent(QDragMoveEvent* event) {
    if (!isOwnRowDrag(event->mimeData())) {
        if (event->mimeData()->hasUrls()) event->acceptProposedAction();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
    const QPoint pos = event->position().toPoint();
    setDropRow(rowAt(pos));
    // Near the top or bottom edge the list scrolls, so that any row can be reached.
    const int edge = std::max(4, sizeHintForRow(0) / 2);
    QScrollBar* bar = verticalScrollBar();
    if (pos.y() < edge) bar->setValue(bar->value() - 1);
    if (pos.y() > viewport()->height() - edge) bar->setValue(bar->value() + 1);
}

void PlaylistListView::dragLeaveEvent(QDragLeaveEvent* event) {
    setDropRow(-1);
    event->accept();
}

void PlaylistListView::dropEvent(QDropEvent* event) {
    const QMimeData* mime = event->mimeData();
    if (isOwnRowDrag(mime)) {
        const int row = rowAt(event->position().toPoint());
        setDropRow(-1);
        event->setDropAction(Qt::MoveAction);
        event->accept();
        logic_.dropRows(row);
        return;
    }
    std::vector<std::string> paths;
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile()) paths.push_back(fileUriPath(url.toEncoded().toStdString()));
    if (paths.empty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // Adding may open a medium and that may ask something: not while the drop is answered.
    QMetaObject::invokeMethod(
        this, [this, paths = std::move(paths)] { logic_.dropFiles(paths); }, Qt::QueuedConnection);
}

}  // namespace orvalis
