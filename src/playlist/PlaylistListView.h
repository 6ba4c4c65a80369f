#pragma once

#include <QAbstractListModel>
#include <QListView>
#include <QStyledItemDelegate>
#include <cstdio>
#include <functional>

#include "playlist/ColorScheme.h"
#include "playlist/PlaylistController.h"

class QMimeData;

namespace orvalis {

// The rows of the play list as Qt's views read them: the display name, the path as the
// row's tool tip, and the selected and playing states for drawing.
class PlaylistRows final : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role { SelectedRole = Qt::UserRole + 1, PlayingRole, PathRole };

    explicit PlaylistRows(const PlaylistModel& rows, QObject* parent = nullptr);
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // The rows were replaced, added, removed or reordered.
    void reload();

private:
    const PlaylistModel& rows_;
    int count_ = 0;  // what the view was last told
};

// Draws a row in the scheme's colours: the fill of selected and other rows, the insertion
// mark of a row drag, and the playing row's text colour.
class PlaylistRowDelegate final : public QStyledItemDelegate {
public:
    explicit PlaylistRowDelegate(QObject* parent) : QStyledItemDelegate(parent) {}
    void setScheme(const ColorScheme& scheme) { scheme_ = scheme; }
    void setDropRow(int row) { dropRow_ = row; }
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    ColorScheme scheme_;
    int dropRow_ = -1;
};

QColor qColourOf(Colorref colour);

// The list of the playlist window. Selection, clicks, keys, wheel turns and drops go to the
// PlaylistController; keys and wheel turns it does not keep go to the player window.
class PlaylistListView final : public QListView {
    Q_OBJECT
public:
    PlaylistListView(PlaylistController& logic, QWidget* parent);

    PlaylistRows& rows() { return *rows_; }
    // The rows changed: the list shows them again where it was scrolled to.
    void reloadRows();
    void setScheme(const ColorScheme& scheme);
    // Where a key or wheel turn that the list does not keep is sent.
    void setForwardTarget(QWidget* target) { forwardTo_ = target; }
    // The row a row drag would drop before: -1 for none.
    int dropRow() const { return dropRow_; }
    // What a row drag out of this list carries.
    QMimeData* rowDragMime() const;
    // Answers the list's context-menu request at a screen point.
    std::function<void(const QPoint&)> onContextMenu;

    // Sends a key to the list's own rules; the window routes its keys here too.
    void routeKey(QKeyEvent* event);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    int rowAt(const QPoint& viewportPos) const;
    bool isOwnRowDrag(const QMimeData* mime) const;
    void setDropRow(int row);
    void startRowDrag(int row);
    void forward(QEvent* event);

    PlaylistController& logic_;
    PlaylistRows* rows_;
    PlaylistRowDelegate* delegate_;
    QWidget* forwardTo_ = nullptr;
    int dropRow_ = -1;
    // A press that may become a row drag, and a click on a selected row held back until
    // the release, so that dragging several selected rows keeps them selected.
    int pressRow_ = -1;
    QPoint pressPos_;
    bool clickOnRelease_ = false;
};

}  // namespace orvalis
