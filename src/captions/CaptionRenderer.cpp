#include "captions/CaptionRenderer.h"

#include <QFontDatabase>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace orvalis {

namespace {

// Installed faces with Hangul, the first one present stands in for a missing font.
const char* const kKoreanFaces[] = {"NanumGothic", "NanumBarunGothic", "Noto Sans CJK KR",
                                    "UnDotum"};

QColor colourOf(std::uint32_t colorref) {
    return QColor(colorref & 0xFF, (colorref >> 8) & 0xFF, (colorref >> 16) & 0xFF);
}

QRect toQRect(const geometry::Rect& r) {
    return QRect(r.left, r.top, r.width(), r.height());
}

std::string_view firstLine(std::string_view text) {
    return text.substr(0, text.find('\n'));
}

QString qtext(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

int alignmentFlags(CaptionAlign align) {
    switch (align) {
        case CaptionAlign::Left:
            return Qt::AlignLeft;
        case CaptionAlign::Right:
            return Qt::AlignRight;
        case CaptionAlign::Centre:
            break;
    }
    return Qt::AlignHCenter;
}

QFont makeFont(const CaptionFont& wanted, double dpi) {
    const QString face = CaptionRenderer::resolveFace(QString::fromStdString(wanted.face));
    QStringList families{face};
    // Hangul that a Latin face lacks comes from a Korean face, not from whatever the font
    // configuration finds first.
    const QString korean = CaptionRenderer::resolveFace(QString());
    if (!korean.isEmpty() && korean != face) families << korean;
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(wanted.points * dpi / 72.0))));
    font.setWeight(wanted.bold ? QFont::ExtraBold : QFont::Normal);
    font.setStyleStrategy(wanted.smooth ? QFont::PreferAntialias : QFont::NoAntialias);
    return font;
}

}  // namespace

QString CaptionRenderer::resolveFace(const QString& face) {
    if (!face.isEmpty() && QFontDatabase::hasFamily(face)) return face;
    for (const char* korean : kKoreanFaces)
        if (QFontDatabase::hasFamily(QString::fromLatin1(korean)))
            return QString::fromLatin1(korean);
    return face;
}

CaptionRenderer::CaptionRenderer(double dpi, double devicePixelRatio)
    : dpi_(dpi > 0 ? dpi : 96.0),
      ratio_(devicePixelRatio > 0 ? devicePixelRatio : 1.0),
      measuringDevice_(1, 1, QImage::Format_ARGB32_Premultiplied),
      metrics_(font_, &measuringDevice_) {
    setFont(CaptionFont{});
}

void CaptionRenderer::setFont(const CaptionFont& font) {
    if (fontReady_ && font == spec_) return;
    fontReady_ = true;
    spec_ = font;
    font_ = makeFont(spec_, dpi_);
    metrics_ = QFontMetrics(font_, &measuringDevice_);
}

TextExtent CaptionRenderer::measure(std::string_view utf8) const {
    return {metrics_.horizontalAdvance(qtext(firstLine(utf8))), metrics_.height()};
}

void CaptionRenderer::present(const CaptionPicture& picture) {
    const bool same =
        presented_ && picture == picture_ && (picture.empty() || spec_ == pictureFont_);
    if (same) return;
    presented_ = true;
    picture_ = picture;
    pictureFont_ = spec_;
    image_ = build(picture_, &origin_);
    ++rebuilds_;
    if (imageChanged) imageChanged(image_, origin_);
}

QImage CaptionRenderer::build(const CaptionPicture& picture, QPoint* origin) const {
    *origin = QPoint();
    if (picture.empty()) return QImage();
    // Room around the lines for the shadow or the outline.
    const int pad = picture.outline ? kOutlineWidth / 2 + 2 : picture.shadowOffset;
    QRect box;
    for (const CaptionLine& line : picture.lines)
        box |= toQRect(line.rect).adjusted(-pad, -pad, pad, pad);
    box &= QRect(0, 0, picture.clientWidth, picture.clientHeight);
    if (box.isEmpty()) return QImage();

    QImage image(box.size() * ratio_, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio_);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.translate(-box.topLeft());
    painter.setRenderHint(QPainter::Antialiasing, spec_.smooth);
    painter.setRenderHint(QPainter::TextAntialiasing, spec_.smooth);
    const int align = alignmentFlags(picture.align) | Qt::AlignTop | Qt::TextSingleLine;
    const QPen outlinePen(colourOf(picture.outlineColour), kOutlineWidth, Qt::SolidLine,
                          Qt::RoundCap, Qt::RoundJoin);
    // A line of a second caption may have a size of its own.
    QFont lineFont = font_;
    int linePoints = spec_.points;

    for (const CaptionLine& line : picture.lines) {
        const int points = line.points > 0 ? line.points : spec_.points;
        if (points != linePoints) {
            CaptionFont sized = spec_;
            sized.points = points;
            lineFont = points == spec_.points ? font_ : makeFont(sized, dpi_);
            linePoints = points;
        }
        painter.setFont(lineFont);
        const QFontMetrics metrics(lineFont, &image);
        const QString text = qtext(firstLine(line.text));
        const QRect rect = toQRect(line.rect);
        if (!picture.outline) {
            const int d = picture.shadowOffset;
            painter.setPen(colourOf(kShadowColour));
            painter.drawText(rect.translated(d, d), align, text);
            painter.setPen(colourOf(line.colour));
            painter.drawText(rect, align, text);
            continue;
        }
        const int advance = metrics.horizontalAdvance(text);
        qreal x = rect.left();
        if (picture.align == CaptionAlign::Right) x = rect.left() + rect.width() - advance;
        if (picture.align == CaptionAlign::Centre) x = rect.left() + (rect.width() - advance) / 2.0;
        QPainterPath path;
        path.addText(QPointF(x, rect.top() + metrics.ascent()), lineFont, text);
        painter.strokePath(path, outlinePen);
        painter.setPen(colourOf(line.colour));
        painter.drawText(rect, align | Qt::TextDontClip, text);
    }
    *origin = box.topLeft();
    return image;
}

}  // namespace orvalis
