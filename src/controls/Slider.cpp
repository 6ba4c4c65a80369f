#include "controls/Slider.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "controls/Theme.h"

namespace orvalis::controls {

Slider::Slider(SliderGesture::Mode mode, Look look, QWidget* parent)
    : QWidget(parent), look_(look), gesture_(mode) {
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    updateScale();
}

void Slider::setRange(int min, int max) {
    min_ = min;
    max_ = std::max(min, max);
    value_ = std::clamp(value_, min_, max_);
    updateScale();
    deliver(gesture_.setEnabled(isEnabled() && max_ > min_));
    update();
}

void Slider::setValue(int value) {
    value = std::clamp(value, min_, max_);
    if (value == value_) return;
    value_ = value;
    if (!gesture_.dragging()) update();
}

void Slider::setColour(const QColor& colour) {
    colour_ = colour;
    update();
}

void Slider::setGradient(bool on) {
    gradient_ = on;
    update();
}

void Slider::setMarks(std::vector<int> marks) {
    marks_ = std::move(marks);
    update();
}

int Slider::shownValue() const {
    return gesture_.dragging() ? gesture_.dragValue() : value_;
}

void Slider::updateScale() {
    // The groove's knob must reach both ends without leaving the widget.
    const double inset = look_ == Look::Groove ? height() / 2.0 : 0.0;
    gesture_.setScale({min_, max_, inset, width() - inset});
}

void Slider::resizeEvent(QResizeEvent*) {
    updateScale();
}

void Slider::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        deliver(gesture_.setEnabled(isEnabled() && max_ > min_));
        update();
    }
    QWidget::changeEvent(event);
}

void Slider::deliver(const std::vector<SliderEvent>& events) {
    for (const SliderEvent& e : events) {
        switch (e.kind) {
            case SliderEvent::Kind::Preview:
                emit previewed(e.value, e.dragging);
                break;
            case SliderEvent::Kind::Commit:
                value_ = e.value;
                emit committed(e.value);
                break;
            case SliderEvent::Kind::Changed:
                value_ = e.value;
                emit changed(e.value);
                break;
            case SliderEvent::Kind::LetGo:
                emit letGo();
                break;
        }
    }
    if (!events.empty()) update();
}

void Slider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    hoverX_ = event->position().x();
    deliver(gesture_.press(hoverX_));
}

void Slider::mouseMoveEvent(QMouseEvent* event) {
    hoverX_ = event->position().x();
    deliver(gesture_.move(hoverX_));
    if (look_ == Look::Bar) update();
}

void Slider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    deliver(gesture_.release(event->position().x()));
    if (!rect().contains(event->position().toPoint())) {
        hoverX_ = -1;
        update();
    }
}

void Slider::leaveEvent(QEvent*) {
    if (gesture_.dragging()) return;
    hoverX_ = -1;
    deliver(gesture_.leave());
    update();
}

void Slider::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (look_ == Look::Bar) {
        paintBar(p);
    } else {
        paintGroove(p);
    }
}

void Slider::paintBar(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF area(rect());
    const qreal radius = std::min<qreal>(3.0, area.height() / 2);
    p.setPen(Qt::NoPen);
    p.setBrush(theme::groove());
    p.drawRoundedRect(area, radius, radius);

    const bool usable = gesture_.scale().usable() && isEnabled();
    if (usable) {
        const double fill = gesture_.scale().fillWidth(shownValue());
        if (fill > 0.5) {
            QRectF played = area;
            played.setWidth(fill);
            if (gradient_) {
                QLinearGradient g(area.topLeft(), area.bottomLeft());
                g.setColorAt(0, colour_.lighter(145));
                g.setColorAt(0.5, colour_);
                g.setColorAt(1, colour_.darker(135));
                p.setBrush(g);
            } else {
                p.setBrush(colour_);
            }
            p.save();
            QPainterPath clip;
            clip.addRoundedRect(area, radius, radius);
            p.setClipPath(clip);
            p.drawRect(played);
            p.restore();
            // The playhead: a light edge where the played part ends.
            p.setBrush(theme::textPrimary());
            p.drawRect(QRectF(std::max(0.0, fill - 2.0), 0, 2, area.height()));
        }
    }

    p.setRenderHint(QPainter::Antialiasing, false);
    if (usable) {
        // A bookmark: a tick two whole pixels wide (a fractional one shows as one pixel or
        // two, depending on where it falls), edged in the panel's dark so that it stands out
        // over the played part whatever the track's colour.
        for (int m : marks_) {
            if (m < min_ || m > max_) continue;
            const double x = std::clamp(std::round(gesture_.scale().xOf(m)), 1.0, area.width() - 1);
            p.setBrush(theme::panelBackground());
            p.drawRect(QRectF(x - 2, 0, 4, area.height()));
            p.setBrush(theme::bookmark());
            p.drawRect(QRectF(x - 1, 0, 2, area.height()));
        }
    }
    if (usable && hoverX_ >= 0) {
        QColor hover = theme::textPrimary();
        hover.setAlpha(150);
        p.setBrush(hover);
        p.drawRect(QRectF(std::clamp(hoverX_, 0.0, area.width() - 1), 0, 1, area.height()));
    }
}

void Slider::paintGroove(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF area(rect());
    const qreal knob = std::max<qreal>(4.0, area.height() - 2);
    const qreal grooveHeight = std::max<qreal>(2.0, area.height() / 3);
    const QRectF groove(area.height() / 2, area.center().y() - grooveHeight / 2,
                        std::max(0.0, area.width() - area.height()), grooveHeight);
    p.setPen(Qt::NoPen);
    p.setBrush(theme::groove());
    p.drawRoundedRect(groove, grooveHeight / 2, grooveHeight / 2);
    if (!gesture_.scale().usable()) return;

    const double x = gesture_.scale().xOf(shownValue());
    QRectF filled = groove;
    filled.setRight(x);
    p.setBrush(isEnabled() ? colour_ : theme::iconDisabled());
    p.drawRoundedRect(filled, grooveHeight / 2, grooveHeight / 2);
    p.setBrush(isEnabled() ? theme::textPrimary() : theme::iconDisabled());
    p.drawEllipse(QPointF(x, area.center().y()), knob / 2, knob / 2);
}

}  // namespace orvalis::controls
