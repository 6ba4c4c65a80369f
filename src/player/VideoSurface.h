#pragma once

#include <QColor>
#include <QImage>
#include <QOpenGLWidget>
#include <QPoint>

namespace orvalis {

class MpvBackend;

// Draws libmpv's current frame, or the idle background when no picture is shown. The rest
// of the player does not depend on what kind of Qt surface this is: input that it does not
// use goes on to the player window like any child widget's.
class VideoSurface final : public QOpenGLWidget {
    Q_OBJECT
public:
    explicit VideoSurface(MpvBackend& backend, QWidget* parent = nullptr);
    ~VideoSurface() override;

    void setShowVideo(bool show);
    bool showsVideo() const { return showVideo_; }
    void setBackgroundColour(const QColor& colour);
    // The picture drawn stretched over the surface while no video shows; null for colour.
    void setBackgroundImage(const QImage& image);
    // The caption, laid over every frame and over the idle background; null for none.
    void setCaptionImage(const QImage& image, const QPoint& at);
    bool rendererReady() const { return rendererReady_; }
    // Frames drawn since start, for tests and measurements.
    quint64 framesDrawn() const { return framesDrawn_; }

signals:
    void rendererFailed();

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    void renderFrame();

    MpvBackend& backend_;
    bool showVideo_ = false;
    bool rendererReady_ = false;
    QColor background_{0x40, 0x40, 0x40};
    QImage backgroundImage_;
    QImage captionImage_;
    QPoint captionAt_;
    quint64 framesDrawn_ = 0;
    bool firstFrameTraced_ = false;
};

}  // namespace orvalis
