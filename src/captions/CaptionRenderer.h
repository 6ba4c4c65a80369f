#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPoint>
#include <functional>

#include "captions/CaptionCanvas.h"

namespace orvalis {

// Paints captions with QPainter into an image that the video surface lays over every frame.
// The image covers only the caption's lines and is rebuilt only when the picture or the
// font changes; presenting the same caption again costs a comparison.
class CaptionRenderer final : public CaptionCanvas {
public:
    // dpi: the screen's logical dots per inch, which turn points into pixels; ratio: its
    // device pixel ratio.
    explicit CaptionRenderer(double dpi = 96.0, double devicePixelRatio = 1.0);

    void setFont(const CaptionFont& font) override;
    // A text with line breaks is measured by its first line, the one that is drawn.
    TextExtent measure(std::string_view utf8) const override;
    void present(const CaptionPicture& picture) override;

    // Called with each new image (null when the caption is erased) and the client point
    // where its top-left corner goes.
    std::function<void(const QImage&, QPoint)> imageChanged;

    const QFont& font() const { return font_; }
    const QImage& image() const { return image_; }
    QPoint origin() const { return origin_; }
    int rebuilds() const { return rebuilds_; }

    // The face to use for a font name: the name itself when it is installed, else an
    // installed Korean face.
    static QString resolveFace(const QString& face);

private:
    QImage build(const CaptionPicture& picture, QPoint* origin) const;

    double dpi_;
    double ratio_;
    CaptionFont spec_;
    bool fontReady_ = false;
    QFont font_;
    QImage measuringDevice_;
    QFontMetrics metrics_;
    bool presented_ = false;
    CaptionPicture picture_;
    CaptionFont pictureFont_;
    QImage image_;
    QPoint origin_;
    int rebuilds_ = 0;
};

}  // namespace orvalis
