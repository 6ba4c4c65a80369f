#include "player/VideoWindow.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QExposeEvent>
#include <QKeyEvent>
#include <QLoggingCategory>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>
#include <QOpenGLPaintDevice>
#include <QPainter>
#include <QWidget>
#include <cmath>
#include <memory>

#include "engine/VideoOutput.h"

namespace orvalis {

// QT_LOGGING_RULES="orvalis.video.info=true" traces the first frame of each medium.
Q_LOGGING_CATEGORY(lcVideo, "orvalis.video", QtWarningMsg)

namespace {

void* glProcAddress(void*, const char* name) {
    QOpenGLContext* context = QOpenGLContext::currentContext();
    return context ? reinterpret_cast<void*>(context->getProcAddress(name)) : nullptr;
}

// Painting into a framebuffer object, which it binds again whenever painting resumes.
class FramebufferDevice final : public QOpenGLPaintDevice {
public:
    explicit FramebufferDevice(QOpenGLFramebufferObject& fbo)
        : QOpenGLPaintDevice(fbo.size()), fbo_(fbo) {}
    void ensureActiveTarget() override { fbo_.bind(); }

private:
    QOpenGLFramebufferObject& fbo_;
};

}  // namespace

VideoSurface* VideoSurface::create(VideoOutput& output, QWidget& host) {
    return new VideoWindow(output, host);
}

VideoWindow::VideoWindow(VideoOutput& output, QWidget& host) : output_(output), host_(host) {
    setSurfaceType(QSurface::OpenGLSurface);
    // The host keeps the keyboard focus: a click on the picture does not take it away.
    setFlag(Qt::WindowDoesNotAcceptFocus);
    container_ = QWidget::createWindowContainer(this, &host);
    container_->setFocusPolicy(Qt::NoFocus);
    output_.setFrameReadyCallback([this] {
        if (!showVideo_) return;
        if (isExposed()) {
            update();
        } else {
            takeUnshownFrame();
        }
    });
}

VideoWindow::~VideoWindow() {
    output_.setFrameReadyCallback({});
    QObject::disconnect(contextGone_);
    releaseRenderer(true);
    if (context_) context_->doneCurrent();
}

bool VideoWindow::ensureContext() {
    if (context_) return context_->isValid();
    context_ = std::make_unique<QOpenGLContext>();
    context_->setFormat(requestedFormat());
    if (!context_->create()) return false;
    offscreen_.setFormat(context_->format());
    offscreen_.create();
    // The renderer's GL objects live in this context: they go with it, and a renderer is
    // made again in whatever context comes next.
    contextGone_ = connect(
        context_.get(), &QOpenGLContext::aboutToBeDestroyed, this,
        [this] { releaseRenderer(false); }, Qt::DirectConnection);
    return true;
}

bool VideoWindow::makeCurrent() {
    if (!ensureContext()) return false;
    if (handle() && isExposed()) return context_->makeCurrent(this);
    return context_->makeCurrent(&offscreen_);
}

// libmpv waits for each frame to be drawn before it decodes the next: a window that is not
// on the screen (the player hidden, minimised) still takes the frames, into a tiny target,
// so that sound and captions play on at their pace.
void VideoWindow::takeUnshownFrame() {
    if (!rendererReady_ || !context_->makeCurrent(&offscreen_)) return;
    output_.render(static_cast<int>(context_->defaultFramebufferObject()), 16, 16, false);
}

void VideoWindow::prepareRenderer() {
    if (makeCurrent()) ensureRenderer();
}

bool VideoWindow::ensureRenderer() {
    if (!context_) return false;
    if (rendererContext_ && rendererContext_ == context_.get()) return rendererReady_;
    if (rendererContext_) releaseRenderer(false);  // made in a context that is no longer ours
    rendererContext_ = context_.get();
    rendererReady_ = output_.initRenderer(glProcAddress, nullptr);
    if (rendererReady_ && rendererReadyCallback_)
        QMetaObject::invokeMethod(this, rendererReadyCallback_, Qt::QueuedConnection);
    return rendererReady_;
}

void VideoWindow::releaseRenderer(bool final) {
    if (!rendererContext_) return;
    if (QOpenGLContext::currentContext() != rendererContext_) makeCurrent();
    if (final) {
        output_.releaseRenderer();
    } else {
        output_.renderContextLost();
    }
    rendererContext_ = nullptr;
    rendererReady_ = false;
}

void VideoWindow::setShowVideo(bool show) {
    if (showVideo_ == show) return;
    showVideo_ = show;
    firstFrameTraced_ = false;
    update();
}

void VideoWindow::setIdlePicture(const QColor& colour, const QImage& image) {
    background_ = colour;
    backgroundImage_ = image;
    if (!showVideo_) update();
}

void VideoWindow::setCaptionImage(const QImage& image, const QPoint& at) {
    if (captionImage_.isNull() && image.isNull()) return;
    captionImage_ = image;
    captionAt_ = at;
    if (image.isNull()) {
        output_.setOverlay(nullptr);
        captionOverlaid_ = false;
    } else {
        // The pixels stay shared with the surface's copy until the renderer has taken them.
        auto kept =
            std::make_shared<QImage>(image.convertToFormat(QImage::Format_ARGB32_Premultiplied));
        OverlayPicture picture;
        const qreal ratio = devicePixelRatio();
        picture.x = static_cast<int>(std::lround(at.x() * ratio));
        picture.y = static_cast<int>(std::lround(at.y() * ratio));
        picture.width = kept->width();
        picture.height = kept->height();
        picture.stride = static_cast<std::size_t>(kept->bytesPerLine());
        picture.pixels = kept->constBits();
        picture.keep = kept;
        captionOverlaid_ = output_.setOverlay(&picture);
    }
    update();
}

void VideoWindow::exposeEvent(QExposeEvent*) {
    if (isExposed()) paint();
}

void VideoWindow::paint() {
    if (!isExposed() || !makeCurrent()) return;
    shownOnce_ = true;
    ensureRenderer();
    const QSize pixels = size() * devicePixelRatio();
    QOpenGLPaintDevice device(pixels);
    device.setDevicePixelRatio(devicePixelRatio());
    context_->functions()->glViewport(0, 0, pixels.width(), pixels.height());
    const unsigned framebuffer = context_->defaultFramebufferObject();
    context_->functions()->glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    const bool frame = draw(device, framebuffer, pixels);
    context_->swapBuffers(this);
    if (!frame) return;
    ++framesDrawn_;
    if (!firstFrameTraced_) {
        firstFrameTraced_ = true;
        qCInfo(lcVideo) << "first frame drawn";
    }
}

QImage VideoWindow::grabShown() {
    if (!shownOnce_ || !makeCurrent()) return {};
    QOpenGLFramebufferObject fbo(size() * devicePixelRatio());
    fbo.bind();
    FramebufferDevice device(fbo);
    device.setDevicePixelRatio(devicePixelRatio());
    draw(device, fbo.handle(), fbo.size());
    fbo.release();
    return fbo.toImage();
}

bool VideoWindow::draw(QPaintDevice& device, unsigned framebuffer, const QSize& pixels) {
    if (!showVideo_ || !ensureRenderer()) {
        drawIdle(device);
        return false;
    }
    if (captionImage_.isNull() || captionOverlaid_) {
        drawFrame(framebuffer, pixels);
        return true;
    }
    // libmpv draws as native GL inside the painter, which then sets up its own GL state
    // again before it lays the caption over the frame.
    QPainter painter(&device);
    painter.beginNativePainting();
    drawFrame(framebuffer, pixels);
    painter.endNativePainting();
    painter.drawImage(captionAt_, captionImage_);
    return true;
}

void VideoWindow::drawFrame(unsigned framebuffer, const QSize& pixels) {
    output_.render(static_cast<int>(framebuffer), pixels.width(), pixels.height(), true);
    context_->functions()->glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
}

void VideoWindow::drawIdle(QPaintDevice& device) {
    QOpenGLFunctions* gl = context_->functions();
    gl->glClearColor(background_.redF(), background_.greenF(), background_.blueF(), 1.0f);
    gl->glClear(GL_COLOR_BUFFER_BIT);
    if (backgroundImage_.isNull() && captionImage_.isNull()) return;
    QPainter painter(&device);
    if (!backgroundImage_.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(QPoint(0, 0), size()), backgroundImage_);
    }
    if (!captionImage_.isNull()) painter.drawImage(captionAt_, captionImage_);
}

// ---------------------------------------------------------------------------------------------
// Input: everything goes on to the host, in its coordinates.

bool VideoWindow::event(QEvent* event) {
    if (forwardInput(event)) return true;
    if (event->type() == QEvent::UpdateRequest) {
        paint();
        return true;
    }
    return QWindow::event(event);
}

bool VideoWindow::forwardInput(QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
            QApplication::sendEvent(&host_, event);
            return true;
        case QEvent::MouseButtonDblClick:
            // Its press came just before, and went on already: to a widget that has no
            // double click of its own, a double click is that second press.
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove:
        case QEvent::Wheel:
            forwardMouse(event);
            return true;
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::DragLeave:
        case QEvent::Drop:
            forwardDrag(event);
            return true;
        default:
            return false;
    }
}

void VideoWindow::forwardMouse(QEvent* event) {
    auto* e = static_cast<QSinglePointEvent*>(event);
    const QPointF at = container_->mapTo(&host_, e->position());
    const QPointF global = e->globalPosition();
    if (event->type() == QEvent::Wheel) {
        auto* w = static_cast<QWheelEvent*>(event);
        QWheelEvent copy(at, global, w->pixelDelta(), w->angleDelta(), w->buttons(), w->modifiers(),
                         w->phase(), w->inverted(), w->source(), w->pointingDevice());
        QApplication::sendEvent(&host_, &copy);
        event->setAccepted(copy.isAccepted());
        return;
    }
    auto* m = static_cast<QMouseEvent*>(event);
    QMouseEvent copy(m->type(), at, at, global, m->button(), m->buttons(), m->modifiers(),
                     m->pointingDevice());
    QApplication::sendEvent(&host_, &copy);
    event->setAccepted(copy.isAccepted());
    // A widget gets its context menu from the right button's press; so does the host here.
    if (m->type() == QEvent::MouseButtonPress && m->button() == Qt::RightButton) {
        QContextMenuEvent menu(QContextMenuEvent::Mouse, at.toPoint(), global.toPoint(),
                               m->modifiers());
        QApplication::sendEvent(&host_, &menu);
    }
}

void VideoWindow::forwardDrag(QEvent* event) {
    if (event->type() == QEvent::DragLeave) {
        QDragLeaveEvent copy;
        QApplication::sendEvent(&host_, &copy);
        return;
    }
    auto* e = static_cast<QDropEvent*>(event);
    const QPointF at = container_->mapTo(&host_, e->position());
    auto send = [&](QDropEvent& copy) {
        QApplication::sendEvent(&host_, &copy);
        e->setDropAction(copy.dropAction());
        e->setAccepted(copy.isAccepted());
    };
    const Qt::DropActions actions = e->possibleActions();
    if (event->type() == QEvent::Drop) {
        QDropEvent copy(at, actions, e->mimeData(), e->buttons(), e->modifiers());
        send(copy);
    } else if (event->type() == QEvent::DragEnter) {
        QDragEnterEvent copy(at.toPoint(), actions, e->mimeData(), e->buttons(), e->modifiers());
        send(copy);
    } else {
        QDragMoveEvent copy(at.toPoint(), actions, e->mimeData(), e->buttons(), e->modifiers());
        send(copy);
    }
}

}  // namespace orvalis
