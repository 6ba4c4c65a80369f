#include "playlist/PlaylistButtons.h"

#include <QPainter>
#include <QPainterPathStroker>
#include <algorithm>
#include <initializer_list>

namespace orvalis {

namespace {

// Lines become outlines of the given width, so that every icon is one filled path.
QPainterPath strokes(std::initializer_list<std::initializer_list<QPointF>> lines, qreal width,
                     Qt::PenCapStyle cap = Qt::RoundCap) {
    QPainterPath path;
    for (const auto& line : lines) {
        auto it = line.begin();
        path.moveTo(*it);
        for (++it; it != line.end(); ++it) path.lineTo(*it);
    }
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(cap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(path).simplified();
}

QPainterPath polygon(std::initializer_list<QPointF> points) {
    QPainterPath p;
    auto it = points.begin();
    p.moveTo(*it);
    for (++it; it != points.end(); ++it) p.lineTo(*it);
    p.closeSubpath();
    return p;
}

QPainterPath box(qreal x, qreal y, qreal w, qreal h) {
    QPainterPath p;
    p.addRect(x, y, w, h);
    return p;
}

}  // namespace

QPainterPath playlistIcon(PlaylistButton which) {
    switch (which) {
        case PlaylistButton::Add:
            return strokes({{{6, 2}, {6, 10}}, {{2, 6}, {10, 6}}}, 1.8);
        case PlaylistButton::Delete:
            return strokes({{{2, 6}, {10, 6}}}, 1.8);
        case PlaylistButton::Clear:
            // A waste bin: lid, handle and body.
            return strokes({{{1.8, 3}, {10.2, 3}}, {{4.8, 1.6}, {7.2, 1.6}}}, 1.2)
                .united(strokes({{{3, 4.6}, {3.6, 10.6}, {8.4, 10.6}, {9, 4.6}},
                                 {{5, 6}, {5, 9}},
                                 {{7, 6}, {7, 9}}},
                                1.1));
        case PlaylistButton::Sort:
            // A downward arrow beside bars that grow: from short to long.
            return strokes({{{3.5, 1.5}, {3.5, 9}},
                            {{6.5, 3}, {8.5, 3}},
                            {{6.5, 6}, {9.5, 6}},
                            {{6.5, 9}, {10.8, 9}}},
                           1.3)
                .united(polygon({{1.2, 8}, {5.8, 8}, {3.5, 11}}));
        case PlaylistButton::Save:
            // An arrow down into a tray.
            return strokes({{{6, 1.2}, {6, 6.5}}, {{1.8, 8}, {1.8, 10.8}, {10.2, 10.8}, {10.2, 8}}},
                           1.3)
                .united(polygon({{3.3, 5.2}, {8.7, 5.2}, {6, 8.4}}));
        case PlaylistButton::Check:
            return strokes({{{2, 6.4}, {5, 9.4}, {10.2, 3}}}, 1.9);
        case PlaylistButton::Hide:
            return strokes({{{2.6, 2.6}, {9.4, 9.4}}, {{9.4, 2.6}, {2.6, 9.4}}}, 1.9);
        case PlaylistButton::MinimizeMain:
            return strokes({{{2.4, 9}, {9.6, 9}}}, 2.0);
        case PlaylistButton::MainMenu:
            // Three bars on whole pixels at the button's 10 pixels (and at twice that).
            return strokes(
                {{{1.2, 1.8}, {10.8, 1.8}}, {{1.2, 5.4}, {10.8, 5.4}}, {{1.2, 9.0}, {10.8, 9.0}}},
                1.2, Qt::FlatCap);
        case PlaylistButton::Previous:
            return box(2, 2.2, 1.6, 7.6).united(polygon({{10, 2.2}, {10, 9.8}, {4, 6}}));
        case PlaylistButton::Play:
            return polygon({{3.4, 1.8}, {3.4, 10.2}, {10.2, 6}});
        case PlaylistButton::Pause:
            return box(2.8, 2.2, 2.3, 7.6).united(box(6.9, 2.2, 2.3, 7.6));
        case PlaylistButton::Stop:
            return box(2.6, 2.6, 6.8, 6.8);
        case PlaylistButton::Next:
            return polygon({{2, 2.2}, {2, 9.8}, {8, 6}}).united(box(8.4, 2.2, 1.6, 7.6));
    }
    return {};
}

PlaylistIconButton::PlaylistIconButton(PlaylistButton which, QWidget* parent)
    : QAbstractButton(parent), which_(which) {
    // The list keeps the keyboard: a click on a button must not take it away.
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
}

void PlaylistIconButton::setLatched(bool on) {
    if (on == latched_) return;
    latched_ = on;
    update();
}

void PlaylistIconButton::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void PlaylistIconButton::leaveEvent(QEvent* event) {
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void PlaylistIconButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect());
    const bool down = isDown() || latched_;
    if (isEnabled() && (down || hovered_)) {
        p.setPen(Qt::NoPen);
        p.setBrush(down ? PlaylistChrome::pressed() : PlaylistChrome::hover());
        p.drawRoundedRect(r, 2, 2);
    }
    // The icon fills a square a little smaller than the button's shorter side.
    const qreal side = std::min(r.width(), r.height()) * (r.height() <= 12 ? 1.0 : 0.8);
    const qreal scale = side / 12.0;
    QColor colour = !isEnabled() ? PlaylistChrome::iconDisabled()
                    : latched_   ? PlaylistChrome::accent()
                                 : PlaylistChrome::icon();
    p.translate(r.center().x() - side / 2, r.center().y() - side / 2);
    p.scale(scale, scale);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(playlistIcon(which_));
}

}  // namespace orvalis
