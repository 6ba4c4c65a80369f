#include "controls/RepeatBar.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "controls/Theme.h"

namespace orvalis::controls {

RepeatBar::RepeatBar(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
}

void RepeatBar::setLength(double seconds) {
    length_ = std::isfinite(seconds) && seconds > 0 ? seconds : 0;
    updateGeometry();
    update();
}

void RepeatBar::setRange(double start, double end) {
    drag_.setRange({std::isfinite(start) ? start : 0, std::isfinite(end) ? end : 0});
    update();
}

void RepeatBar::updateGeometry() {
    drag_.setGeometry(0, width(), length_);
}

void RepeatBar::resizeEvent(QResizeEvent*) {
    updateGeometry();
}

bool RepeatBar::nearMark(double x) const {
    const TimeRange r = drag_.range();
    if (length_ <= 0 || r.end <= r.start) return false;
    return std::abs(x - drag_.xOf(r.start)) <= RangeDrag::kGrab ||
           std::abs(x - drag_.xOf(r.end)) <= RangeDrag::kGrab;
}

void RepeatBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    drag_.press(event->position().x());
}

void RepeatBar::mouseMoveEvent(QMouseEvent* event) {
    const double x = event->position().x();
    if (!drag_.dragging()) {
        setCursor(nearMark(x) ? Qt::SplitHCursor : Qt::ArrowCursor);
        return;
    }
    if (auto r = drag_.move(x)) {
        update();
        emit rangeDragged(r->start, r->end);
    }
}

void RepeatBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    if (drag_.release()) emit rangeDragEnded();
    update();
}

void RepeatBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    const QRectF area(rect());
    QColor strip = theme::groove();
    strip.setAlpha(150);
    p.setBrush(strip);
    p.drawRoundedRect(area, 2, 2);

    const TimeRange r = drag_.range();
    if (length_ <= 0 || r.end <= r.start) return;
    // A range over the whole medium is the player's way of saying there is none.
    if (r.start <= 0 && r.end >= length_) return;
    const double a = drag_.xOf(r.start);
    const double b = drag_.xOf(r.end);
    QColor span = theme::repeatRange();
    span.setAlpha(170);
    p.setBrush(span);
    p.drawRoundedRect(QRectF(a, 0, std::max(1.0, b - a + 1), area.height()), 2, 2);
    p.setBrush(theme::repeatRange().lighter(125));
    p.drawRect(QRectF(std::max(0.0, a - 0.5), 0, 2, area.height()));
    p.drawRect(QRectF(std::min(area.width() - 2, b - 0.5), 0, 2, area.height()));
}

}  // namespace orvalis::controls
