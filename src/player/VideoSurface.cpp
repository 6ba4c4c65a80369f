#include "player/VideoSurface.h"

#include <QLoggingCategory>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QPainter>

#include "engine/MpvBackend.h"

namespace orvalis {

// QT_LOGGING_RULES="orvalis.video.info=true" traces the first frame of each medium.
Q_LOGGING_CATEGORY(lcVideo, "orvalis.video", QtWarningMsg)

namespace {

void* glProcAddress(void*, const char* name) {
    QOpenGLContext* context = QOpenGLContext::currentContext();
    return context ? reinterpret_cast<void*>(context->getProcAddress(name)) : nullptr;
}

}  // namespace

VideoSurface::VideoSurface(MpvBackend& backend, QWidget* parent)
    : QOpenGLWidget(parent), backend_(backend) {
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    setAcceptDrops(false);
}

VideoSurface::~VideoSurface() {
    // libmpv's GL objects must go while our context is current.
    makeCurrent();
    backend_.setFrameReadyCallback(nullptr);
    backend_.releaseRenderer();
    doneCurrent();
}

void VideoSurface::initializeGL() {
    rendererReady_ = backend_.initRenderer(glProcAddress, nullptr);
    if (!rendererReady_) {
        emit rendererFailed();
        return;
    }
    backend_.setFrameReadyCallback([this] {
        if (showVideo_) update();
    });
}

void VideoSurface::setShowVideo(bool show) {
    if (showVideo_ == show) return;
    showVideo_ = show;
    firstFrameTraced_ = false;
    update();
}

void VideoSurface::setBackgroundColour(const QColor& colour) {
    background_ = colour;
    if (!showVideo_) update();
}

void VideoSurface::setBackgroundImage(const QImage& image) {
    backgroundImage_ = image;
    if (!showVideo_) update();
}

void VideoSurface::setCaptionImage(const QImage& image, const QPoint& at) {
    if (captionImage_.isNull() && image.isNull()) return;
    captionImage_ = image;
    captionAt_ = at;
    update();
}

void VideoSurface::renderFrame() {
    const qreal ratio = devicePixelRatioF();
    backend_.render(static_cast<int>(defaultFramebufferObject()), static_cast<int>(width() * ratio),
                    static_cast<int>(height() * ratio), true);
    ++framesDrawn_;
    if (!firstFrameTraced_) {
        firstFrameTraced_ = true;
        qCInfo(lcVideo) << "first frame drawn";
    }
}

void VideoSurface::paintGL() {
    if (showVideo_ && rendererReady_) {
        if (captionImage_.isNull()) {
            renderFrame();
            return;
        }
        // libmpv draws as native GL inside the painter, which then sets up its own GL state
        // again before it lays the caption over the frame.
        QPainter painter(this);
        painter.beginNativePainting();
        renderFrame();
        painter.endNativePainting();
        painter.drawImage(captionAt_, captionImage_);
        return;
    }
    QOpenGLFunctions* gl = context()->functions();
    gl->glClearColor(background_.redF(), background_.greenF(), background_.blueF(), 1.0f);
    gl->glClear(GL_COLOR_BUFFER_BIT);
    if (backgroundImage_.isNull() && captionImage_.isNull()) return;
    QPainter painter(this);
    if (!backgroundImage_.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), backgroundImage_);
    }
    if (!captionImage_.isNull()) painter.drawImage(captionAt_, captionImage_);
}

}  // namespace orvalis
