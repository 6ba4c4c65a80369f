#pragma once

#include <QRect>
#include <QTimer>
#include <QWidget>
#include <map>

#include "base/Prompter.h"
#include "base/SettingsStore.h"
#include "playlist/FileSystemView.h"
#include "playlist/PlaylistController.h"

class QMenu;

namespace orvalis {

class PlaylistIconButton;
class PlaylistListView;

// The frameless window beside the player window: the list, the button rows, the context
// menu, transparency and the colour scheme. What it does is the PlaylistController's; the
// window turns input into its calls and draws its state.
//
// player: the player window. It owns this window (which stays above it and goes with it),
// and receives the keys and wheel turns the list does not keep. May be null.
class PlaylistWindow final : public QWidget, public PlaylistWindowView {
    Q_OBJECT
public:
    PlaylistWindow(SettingsStore& settings, Prompter& prompter, PlaylistHost host,
                   QWidget* player = nullptr);
    // Keeps the list, the current item, the recent list files and the window's place.
    ~PlaylistWindow() override;

    PlaylistController& controller() { return logic_; }
    // What the player window's logic talks to.
    PlaylistPort& port() { return logic_; }
    // Ctrl+0 ... Ctrl+5 pressed in the player window.
    void transparencyKey(int digit) { logic_.transparencyKey(digit); }
    // Writes what is kept across runs now (the window also does it shortly after changes).
    void saveNow();

    PlaylistListView& list() { return *list_; }
    PlaylistIconButton* button(PlaylistButton which) const;

    // PlaylistWindowView
    void rowsChanged() override;
    void rowsRepainted() override;
    void showRow(int row) override;
    void setOpacity(int alpha) override;
    bool isShown() const override;
    void setShown(bool shown) override;
    geometry::Rect windowRect() const override;
    void setControlsShown(bool shown, bool keepListHeight) override;
    void setControlButtons(const ControlButtons& state) override;
    void setScheme(const ColorScheme& scheme) override;
    bool runSchemeDialog() override;
    void requestSave() override;
    void showTip(const std::string& text, int milliseconds) override;
    void setBusy(bool busy) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createButtons();
    void relayout();
    void placeAtStart();
    void showContextMenu(const QPoint& globalPos);
    void fillMenu(QMenu* menu, const std::vector<PlaylistMenuItem>& items);
    QRect screenArea() const;
    // Which window edges lie under a point of the frame (Qt::Edges), for resizing.
    Qt::Edges edgesAt(const QPoint& pos) const;

    SettingsStore& settings_;
    Prompter& prompter_;
    LocalFileSystem files_;
    PlaylistController logic_;
    PlaylistListView* list_ = nullptr;
    std::map<PlaylistButton, PlaylistIconButton*> buttons_;
    bool controlsShown_ = false;
    QTimer saveTimer_;
    int busyDepth_ = 0;

    // Moving and sizing the frameless window with the mouse.
    enum class Track { None, Moving, Sizing };
    Track track_ = Track::None;
    Qt::Edges sizingEdges_;
    QPoint pressGlobal_;
    QRect pressGeometry_;
};

}  // namespace orvalis
