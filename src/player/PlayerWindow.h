#pragma once

#include <QPoint>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "app/DesktopServices.h"
#include "app/Prompter.h"
#include "app/SettingsStore.h"
#include "engine/VideoOutput.h"
#include "player/MouseMap.h"
#include "player/PlayerController.h"
#include "player/PlayerPorts.h"
#include "player/QtTimerService.h"

namespace orvalis {

class BookmarkService;
class CaptureService;
class ControlPanel;
class MpvSoundPlayer;
class PowerControl;
class SettingsSheet;
class ShutdownService;
class DesktopAssociations;
class VideoSurface;
class PlaylistWindow;
class OsdTip;
class PlayerDialogs;
class CaptionRenderer;
class CaptionController;

// The main window: frameless, moved by dragging its inside and resized by its border zones.
// It turns window events into calls of the PlayerController and draws what it is told.
class PlayerWindow final : public QWidget, public PlayerView {
    Q_OBJECT
public:
    // What the window needs from outside: the store, libmpv, dialogs, the desktop.
    struct Services {
        SettingsStore& settings;
        PlayerBackend& backend;
        Prompter& prompter;
        DesktopServices& desktop;
        PowerControl& power;
    };
    PlayerWindow(Services services, std::string commandLineList);
    ~PlayerWindow() override;

    PlayerController& controller() { return *controller_; }
    MediaEngine& engine() { return controller_->engine(); }
    VideoSurface& videoSurface() { return *surface_; }
    CaptionController& captionController() { return *captions_; }

    // Reads the settings, places the window and shows it (or hides it as the settings say).
    void start();
    void receiveHandOver(const QString& list);
    void exitPlayer() { controller_->exit(); }
    OsdTip& osd() { return *osd_; }
    ControlPanel& transportBar() { return *panel_; }
    PlaylistWindow& playlistWindow() { return *playlist_; }
    PlayerDialogs& dialogs() { return *dialogs_; }
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

signals:
    void exited();

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

private:

    PlayerBackend& backend_;
    SettingsStore& settings_;
    Prompter& prompter_;
    std::unique_ptr<QtTimerService> timers_;
    std::unique_ptr<PlayerController> controller_;
    PlaylistWindow* playlist_ = nullptr;
    std::unique_ptr<OsdTip> osd_;
    std::unique_ptr<ShutdownService> shutdown_;
    std::unique_ptr<MpvSoundPlayer> sound_;
    std::unique_ptr<DesktopAssociations> associations_;
    std::unique_ptr<SettingsSheet> sheet_;
    struct LazySheet final : SettingsSheetPort {
        std::function<SettingsSheetPort*()> create;
        bool run() override { return create()->run(); }
    } lazySheet_;
    std::unique_ptr<BookmarkService> bookmarks_;
    std::unique_ptr<CaptureService> capture_;
    PlayerDialogs* dialogs_ = nullptr;
    ControlPanel* panel_ = nullptr;
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

    std::unique_ptr<CaptionRenderer> captionRenderer_;
    std::unique_ptr<CaptionController> captions_;
};

}  // namespace orvalis
