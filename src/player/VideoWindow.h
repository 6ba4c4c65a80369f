#pragma once

#include <QMetaObject>
#include <QOffscreenSurface>
#include <QWindow>
#include <memory>

#include "player/VideoSurface.h"

class QOpenGLContext;
class QPaintDevice;

namespace orvalis {

// The video surface as a native OpenGL window inside the player window: libmpv draws
// straight into the window's own framebuffer, with no offscreen pass and no composition by
// the widget toolkit. Its input goes on to the host widget.
//
// The window keeps its own GL context rather than one made at the first expose: the
// renderer is made in it before the window is shown, so that a medium can open while the
// window system is still bringing the window up.
class VideoWindow final : public QWindow, public VideoSurface {
    Q_OBJECT
public:
    VideoWindow(VideoOutput& output, QWidget& host);
    ~VideoWindow() override;

    QWidget* widget() override { return container_; }
    void setShowVideo(bool show) override;
    bool showsVideo() const override { return showVideo_; }
    void setIdlePicture(const QColor& colour, const QImage& image) override;
    void setCaptionImage(const QImage& image, const QPoint& at) override;
    void setPointer(const QCursor& cursor) override { setCursor(cursor); }
    void redraw() override { update(); }
    void prepareRenderer() override;
    bool rendererReady() const override { return rendererReady_; }
    void setRendererReadyCallback(std::function<void()> ready) override {
        rendererReadyCallback_ = std::move(ready);
    }
    quint64 framesDrawn() const override { return framesDrawn_; }
    QImage grabShown() override;

    // The GL context the picture is drawn in (none before the renderer was first prepared).
    QOpenGLContext* context() const { return context_.get(); }

protected:
    void exposeEvent(QExposeEvent* event) override;
    bool event(QEvent* event) override;

private:
    void update() { requestUpdate(); }
    void paint();
    void takeUnshownFrame();
    bool ensureContext();
    // The context current on the window once it is on the screen, else on a surface of its own.
    bool makeCurrent();
    bool ensureRenderer();
    // The renderer goes: for good (`final`), or with its context, to come back in the next.
    void releaseRenderer(bool final);
    // Draws the picture or the idle picture, and the caption, into `framebuffer` (of
    // `pixels` device pixels), which `device` paints into. True when a video frame was drawn.
    bool draw(QPaintDevice& device, unsigned framebuffer, const QSize& pixels);
    void drawFrame(unsigned framebuffer, const QSize& pixels);
    void drawIdle(QPaintDevice& device);
    bool forwardInput(QEvent* event);
    void forwardMouse(QEvent* event);
    void forwardDrag(QEvent* event);

    VideoOutput& output_;
    QWidget& host_;
    QWidget* container_ = nullptr;
    std::unique_ptr<QOpenGLContext> context_;
    QOffscreenSurface offscreen_;
    // The context the renderer was made in; none once released.
    const void* rendererContext_ = nullptr;
    QMetaObject::Connection contextGone_;
    bool rendererReady_ = false;
    std::function<void()> rendererReadyCallback_;
    bool showVideo_ = false;
    QColor background_{0x40, 0x40, 0x40};
    QImage backgroundImage_;
    QImage captionImage_;
    QPoint captionAt_;
    // The renderer lays the caption over the frames itself; it is painted only over the idle
    // picture.
    bool captionOverlaid_ = false;
    quint64 framesDrawn_ = 0;
    bool firstFrameTraced_ = false;
    bool shownOnce_ = false;
};

}  // namespace orvalis
