#pragma once

#include <QColor>
#include <QCursor>
#include <QImage>
#include <QPoint>
#include <QtGlobal>
#include <functional>

class QWidget;

namespace orvalis {

class VideoOutput;

// Where the picture is shown: the video output's frames, or the idle picture while no video
// shows, with the caption laid over either. The player window lays it out over its whole
// inside; the keys, mouse, wheel and drops that reach the surface go on to the window as if
// they had reached it directly, so the rest of the program sees one widget.
class VideoSurface {
public:
    // The surface the player ships, drawing `output`'s frames inside `host`, to which its
    // input goes. Owned by `host` (through widget()).
    static VideoSurface* create(VideoOutput& output, QWidget& host);

    virtual ~VideoSurface() = default;

    // The child of the host that holds the surface, for its geometry and stacking.
    virtual QWidget* widget() = 0;

    virtual void setShowVideo(bool show) = 0;
    virtual bool showsVideo() const = 0;
    // The idle picture: the colour, and a picture stretched over it (null for none).
    virtual void setIdlePicture(const QColor& colour, const QImage& image) = 0;
    // The caption, laid over every frame and over the idle picture; null for none.
    virtual void setCaptionImage(const QImage& image, const QPoint& at) = 0;
    virtual void setPointer(const QCursor& cursor) = 0;
    // Draws again what the surface shows.
    virtual void redraw() = 0;
    // Makes the video output able to draw here now, before the surface is first shown, so
    // that a medium can open while the window comes up.
    virtual void prepareRenderer() = 0;

    // The video output draws here (false before the surface is first shown, or when it
    // cannot draw).
    virtual bool rendererReady() const = 0;
    // Called (from the event loop, never inside a paint) each time the video output becomes
    // able to draw here: after the first show, and after a lost context came back.
    virtual void setRendererReadyCallback(std::function<void()> ready) = 0;
    // Frames drawn since start, for tests and measurements.
    virtual quint64 framesDrawn() const = 0;
    // What the surface shows now, picture and caption, in device pixels; null before the
    // surface is first shown.
    virtual QImage grabShown() = 0;
};

}  // namespace orvalis
