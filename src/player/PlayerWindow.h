#pragma once

#include <QPoint>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/VideoOutput.h"
#include "player/MouseMap.h"
#include "player/PlayerController.h"
#include "ports/PlayerView.h"

namespace orvalis {

class VideoSurface;

// The main window: frameless, moved by dragging its inside and resized by its border zones.
// It turns window events into calls of the PlayerController and draws what it is told; the
// program's assembly builds everything else around it.
class PlayerWindow final : public QWidget, public PlayerView {
    Q_OBJECT
public:
    PlayerWindow();
    ~PlayerWindow() override;

    // What the window's events go to and what it draws with; given once, before it shows.
    void attach(PlayerController& controller, PlayerBackend& backend);
    // The picture: it covers the window, and its mouse belongs to the window.
    void setVideoSurface(VideoSurface* surface);
    // A window docked to one of our edges follows our moves and resizes.
    void setDockedWindow(QWidget* window) { docked_ = window; }

    PlayerController& controller() { return *controller_; }
    MediaEngine& engine() { return controller_->engine(); }
    VideoSurface& videoSurface() { return *surface_; }

    // A second start: brings the window forward and hands the list on.
    void receiveHandOver(const std::vector<std::string>& paths);
    // Keys that the key map hands to the playlist window (Ctrl + 0…5).
    std::function<void(QKeyEvent*)> passKeyToPlaylist;
    // Shows the context menu at a screen point (also asked for by the playlist window).
    void showContextMenu(const QPoint& screenPos);

    // PlayerView
    geometry::Rect windowRect() const override;
    geometry::Rect screenRect() const override;
    void setWindowRect(const geometry::Rect& rect) override;
    void setPictureLayout(const geometry::Layout& layout, geometry::ScreenMode mode) override;
    void setFullScreen(bool on) override;
    void setTopMost(bool on) override;
    void setWindowShown(bool shown) override;
    void minimize() override { showMinimized(); }
    void focus() override;
    void setPointer(PointerShape shape) override;
    geometry::Point cursorPos() const override;
    void repaint() override;
    void setBackground(int backMode, int backColor, const std::string& backImage) override;
    std::optional<geometry::Size> backgroundImageSize() const override;
    bool hasVideoSurface() const override;
    bool shiftHeld() const override;
    bool ctrlHeld() const override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    PlayerController* controller_ = nullptr;
    PlayerBackend* backend_ = nullptr;
    QWidget* docked_ = nullptr;
    WheelAccumulator wheel_;
    VideoSurface* surface_ = nullptr;
    QImage backgroundImage_;
    geometry::Layout layout_;
    geometry::ScreenMode mode_ = geometry::ScreenMode::Normal;

    // A drag or a resize by the mouse, done by the window itself so that it can snap and
    // keep the picture's proportions.
    enum class MouseTrack { None, Pressed, Dragging, Resizing };
    MouseTrack track_ = MouseTrack::None;
    int resizeZone_ = 0;
    QPoint pressGlobal_;
    QRect pressGeometry_;
    // The last normal geometry, so that a playlist window docked to an edge follows it.
    QRect dockedTo_;
    void keepPlaylistDocked();
};

}  // namespace orvalis
