#include "controlpanel/VolumeWedge.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace orvalis {

namespace wedge = panel::wedge;

VolumeWedge::VolumeWedge(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    drag_.setLeft(0);
}

void VolumeWedge::showStep(int step) {
    if (drag_.dragging()) return;  // the drag is the user's; the player's echo waits
    drag_.showStep(step);
    update();
}

void VolumeWedge::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || event->position().x() >= wedge::kWidth ||
        event->position().y() >= wedge::kHeight) {
        event->ignore();
        return;
    }
    emit dragStarted();
    const int step = drag_.press(static_cast<int>(std::floor(event->position().x())));
    update();
    emit stepDragged(step);
}

void VolumeWedge::mouseMoveEvent(QMouseEvent* event) {
    if (!drag_.dragging()) return;
    const int before = drag_.fill();
    const int step = drag_.move(static_cast<int>(std::floor(event->position().x())));
    if (drag_.fill() == before) return;
    update();
    emit stepDragged(step);
}

void VolumeWedge::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !drag_.dragging()) {
        event->ignore();
        return;
    }
    const int step = drag_.release();
    emit stepDragged(step);
    emit dragEnded();
}

void VolumeWedge::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int fill = drag_.fill();
    for (int i = 0; i < wedge::kWidth; ++i) {
        const int h = wedge::columnHeight(i);
        if (h <= 0) continue;
        const wedge::Rgb c = wedge::columnColour(i, fill);
        p.fillRect(i, wedge::kHeight - h, 1, h, QColor(c.r, c.g, c.b));
    }
    p.fillRect(3, wedge::kHeight, wedge::kWidth - 3 + 1, 1, Qt::white);
    p.fillRect(wedge::kWidth, 1, 1, wedge::kHeight, Qt::white);
}

}  // namespace orvalis
