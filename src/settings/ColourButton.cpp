#include "settings/ColourButton.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>

namespace orvalis {

QColor colourOfRef(int colorref) {
    const auto v = static_cast<unsigned>(colorref);
    return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
}

int refOfColour(const QColor& c) {
    return c.red() | (c.green() << 8) | (c.blue() << 16);
}

ColourButton::ColourButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    const int h = fontMetrics().height();
    setIconSize(QSize(text.isEmpty() ? 3 * h : 2 * h, h));
    setColourRef(0);
}

void ColourButton::setColourRef(int colorref) {
    if (colorref == colorref_) return;
    colorref_ = colorref;
    QPixmap swatch(iconSize());
    swatch.fill(colourOfRef(colorref));
    // A frame keeps a swatch of the button's own colour visible.
    QPainter painter(&swatch);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
    painter.end();
    setIcon(QIcon(swatch));
}

}  // namespace orvalis
