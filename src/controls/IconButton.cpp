#include "controls/IconButton.h"

#include <QEnterEvent>
#include <QKeyEvent>
#include <QPainter>
#include <algorithm>

#include "controls/Theme.h"

namespace orvalis::controls {

IconButton::IconButton(Icon icon, QWidget* parent, Style style)
    : QAbstractButton(parent), icon_(icon), litIcon_(icon), style_(style) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
}

void IconButton::setIcon(Icon icon) {
    if (litIcon_ == icon_) litIcon_ = icon;
    icon_ = icon;
    update();
}

void IconButton::setLitIcon(Icon icon) {
    litIcon_ = icon;
    update();
}

void IconButton::setLit(bool lit) {
    if (lit == lit_) return;
    lit_ = lit;
    update();
}

void IconButton::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void IconButton::leaveEvent(QEvent* event) {
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void IconButton::keyPressEvent(QKeyEvent* event) {
    event->ignore();
}

void IconButton::keyReleaseEvent(QKeyEvent* event) {
    event->ignore();
}

void IconButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF area = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const bool enabled = isEnabled();

    QColor fill = Qt::transparent;
    if (enabled && isDown()) {
        fill = theme::pressFill();
    } else if (lit_ && style_ == Style::Toggle) {
        fill = theme::litFill();
    } else if (enabled && hovered_) {
        fill = theme::hoverFill();
    }
    if (fill.alpha() > 0) {
        p.setPen(Qt::NoPen);
        p.setBrush(fill);
        p.drawRoundedRect(area, 3, 3);
    }

    QColor colour = theme::icon();
    if (!enabled) {
        colour = theme::iconDisabled();
    } else if (lit_) {
        colour = theme::accent();
    } else if (hovered_) {
        colour = theme::iconHover();
    }
    // Full-size buttons keep a margin around the icon; the narrow caption buttons give it
    // all their width.
    const int shorter = std::min(width(), height());
    const qreal side = shorter >= 16 ? shorter - 5 : std::max(shorter - 1, 1);
    QRectF box(0, 0, side, side);
    box.moveCenter(QRectF(rect()).center());
    paintIcon(p, currentIcon(), box, colour);
}

}  // namespace orvalis::controls
