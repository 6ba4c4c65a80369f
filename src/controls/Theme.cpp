#include "controls/Theme.h"

#include <QFontMetrics>
#include <QStringList>
#include <algorithm>

namespace orvalis::controls::theme {

QColor panelBackground() {
    return QColor(0x1c, 0x1d, 0x22);
}
QColor panelEdge() {
    return QColor(0x33, 0x35, 0x3d);
}
QColor icon() {
    return QColor(0xd4, 0xd6, 0xdd);
}
QColor iconHover() {
    return QColor(0xff, 0xff, 0xff);
}
QColor iconDisabled() {
    return QColor(0x55, 0x58, 0x62);
}
QColor accent() {
    return QColor(0x9d, 0xa4, 0xff);
}
QColor hoverFill() {
    return QColor(255, 255, 255, 26);
}
QColor pressFill() {
    return QColor(255, 255, 255, 48);
}
QColor litFill() {
    return QColor(0x9d, 0xa4, 0xff, 56);
}
QColor groove() {
    return QColor(0x34, 0x36, 0x3e);
}
QColor textPrimary() {
    return QColor(0xee, 0xef, 0xf3);
}
QColor textSecondary() {
    return QColor(0x9b, 0x9f, 0xab);
}
QColor bookmark() {
    return QColor(0xf4, 0xc4, 0x4e);
}
QColor repeatRange() {
    return QColor(0x3e, 0xc1, 0xa6);
}

QColor fromColorref(int colorref) {
    const unsigned v = static_cast<unsigned>(colorref);
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF));
}

QFont timeFont() {
    // A sans face with tabular digits: the zero of a coding face, dotted or slashed, reads
    // as an eight at this size.
    QFont f;
    f.setFamilies({"NanumGothic", "DejaVu Sans", "Sans Serif"});
    f.setPixelSize(11);
    return f;
}

QFont fittedFont(QFont font, const QString& text, int width) {
    while (font.pixelSize() > 7 && QFontMetrics(font).horizontalAdvance(text) > width)
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}

QFont textFont(int pointSize) {
    QFont f;
    f.setFamilies({"NanumGothic", "NanumBarunGothic", "Sans Serif"});
    f.setPointSize(std::clamp(pointSize, 6, 12));
    return f;
}

}  // namespace orvalis::controls::theme
