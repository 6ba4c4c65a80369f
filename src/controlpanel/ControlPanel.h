#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <string>

#include "base/SettingsKeys.h"
#include "base/SettingsStore.h"
#include "controlpanel/PanelLayout.h"
#include "controlpanel/PanelState.h"
#include "controls/Icons.h"
#include "ports/Commands.h"
#include "ports/TransportListener.h"
#include "ports/TransportPort.h"

namespace orvalis {

namespace controls {
class IconButton;
class RepeatBar;
class Slider;
}  // namespace controls
class VolumeWedge;

// The transport bar over the bottom of the player window: the seek track with its repeat
// bar, the time texts, the volume wedge and the buttons, laid out for its width. Buttons
// send commands; drags go to the listener; the player window pushes back what to show
// through TransportPort. Keys and the wheel are left to the player window.
class ControlPanel final : public QWidget, public TransportPort {
    Q_OBJECT
public:
    using CommandSink = std::function<void(CommandId)>;

    ControlPanel(SettingsStore& settings, CommandSink commands, TransportListener& listener,
                 QWidget* parent = nullptr);
    ~ControlPanel() override;

    // Where keys and wheel turns go when the bar is not a child of the player window (by
    // default to the parent widget).
    void setInputTarget(QWidget* target) { inputTarget_ = target; }

    // TransportPort
    void setDuration(double seconds) override;
    void setPosition(double seconds) override;
    void setTitle(const std::string& title) override;
    void showPlaying() override;
    void showPaused() override;
    void showStopped() override;
    void disableButtons() override;
    void setTrackColour(int colorref) override;
    void updateRepeatRange(double a, double b) override;
    void refreshCaptionButtons(const CaptionButtons& captions) override;
    void showMuteState(bool muted) override;
    void setVolumeStep(int step) override;
    void setBookmarkMarks(const std::vector<int>& seconds) override;
    void clearBookmarkMarks() override;
    void setShowFrameNumber(bool on) override;
    void setPictureValues(const PictureControls& picture) override;
    void toggleAdjustRow() override;
    void place(const geometry::Rect& rect, bool shown) override;
    bool isShown() const override { return shown_; }
    void refresh() override;

    // For the player window's own use and for tests.
    const panel::PanelState& state() const { return state_; }
    const panel::PanelLayout& layout() const { return layout_; }
    bool adjustRowOpen() const { return adjustRowOpen_; }
    // The bar's height for its settings ("Track Height", "Use Repeat Ctrl").
    int preferredHeight() const;
    // The widget standing for a part (nullptr for the texts the bar draws itself).
    QWidget* partWidget(panel::PanelItem part) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool event(QEvent* event) override;

private:
    void createControls();
    controls::IconButton* addButton(panel::PanelItem part, controls::Icon icon, const char* tip,
                                    bool toggle = false);
    controls::Slider* addPictureSlider(panel::PanelItem part, PictureKind kind, const char* tip);
    void relayout();
    void applyLooks();
    void updateTimeTexts();
    void foldBack();
    void restartFoldTimer();
    int comeBackMs() const;
    QRect textRect(panel::PanelItem part) const;
    void forwardInput(QEvent* event);

    SettingsStore& settings_;
    CommandSink commands_;
    TransportListener& listener_;
    QPointer<QWidget> inputTarget_;

    panel::PanelState state_;
    panel::PanelLayout layout_;
    std::array<QWidget*, panel::kPanelItemCount> parts_{};
    controls::Slider* track_ = nullptr;
    controls::RepeatBar* repeatBar_ = nullptr;
    VolumeWedge* wedge_ = nullptr;
    controls::Slider* brightness_ = nullptr;
    controls::Slider* sharpness_ = nullptr;
    QTimer foldTimer_;
    bool pictureHeld_ = false;

    std::string title_;
    bool shown_ = false;
    bool adjustRowOpen_ = false;
    int titleSize_ = 9;
    int trackColour_ = colours::Track;
};

}  // namespace orvalis
