#include "controls/Icons.h"

#include <QPainter>
#include <QPainterPathStroker>
#include <QPolygonF>
#include <algorithm>
#include <array>
#include <initializer_list>

namespace orvalis::controls {

namespace {

QPainterPath polygon(std::initializer_list<QPointF> points) {
    QPainterPath p;
    p.addPolygon(QPolygonF(QList<QPointF>(points)));
    p.closeSubpath();
    return p;
}

QPainterPath polyline(std::initializer_list<QPointF> points) {
    QPainterPath p;
    bool first = true;
    for (const QPointF& pt : points) {
        if (first) {
            p.moveTo(pt);
        } else {
            p.lineTo(pt);
        }
        first = false;
    }
    return p;
}

QPainterPath rounded(qreal x, qreal y, qreal w, qreal h, qreal r) {
    QPainterPath p;
    p.addRoundedRect(QRectF(x, y, w, h), r, r);
    return p;
}

// A line drawing turned into a filled outline, so every icon is filled the same way.
QPainterPath stroked(const QPainterPath& line, qreal width) {
    QPainterPathStroker s;
    s.setWidth(width);
    s.setCapStyle(Qt::RoundCap);
    s.setJoinStyle(Qt::RoundJoin);
    return s.createStroke(line);
}

QPainterPath cross(qreal x0, qreal y0, qreal x1, qreal y1, qreal width) {
    QPainterPath p = polyline({{x0, y0}, {x1, y1}});
    p.addPath(polyline({{x1, y0}, {x0, y1}}));
    return stroked(p, width);
}

QPainterPath letterA(qreal left, qreal width, qreal top, qreal bottom, qreal pen) {
    const qreal mid = left + width / 2;
    QPainterPath p = polyline({{left, bottom}, {mid, top}, {left + width, bottom}});
    const qreal barY = top + (bottom - top) * 0.64;
    const qreal inset = width * 0.5 * 0.36;
    p.addPath(polyline({{left + inset + 0.4, barY}, {left + width - inset - 0.4, barY}}));
    return stroked(p, pen);
}

QPainterPath letterB(qreal left, qreal width, qreal top, qreal bottom, qreal pen) {
    const qreal mid = (top + bottom) / 2;
    const qreal upper = (mid - top) / 2;
    const qreal lower = (bottom - mid) / 2;
    QPainterPath p;
    p.moveTo(left, bottom);
    p.lineTo(left, top);
    p.lineTo(left + width - upper - 0.6, top);
    p.arcTo(QRectF(left + width - 2 * upper - 0.6, top, 2 * upper, 2 * upper), 90, -180);
    p.lineTo(left, mid);
    p.moveTo(left + width - lower - 1.2, mid);
    p.arcTo(QRectF(left + width - 2 * lower, mid, 2 * lower, 2 * lower), 90, -180);
    p.lineTo(left, bottom);
    return stroked(p, pen);
}

QPainterPath letterT(qreal left, qreal width, qreal top, qreal bottom, qreal pen) {
    QPainterPath p = polyline({{left, top}, {left + width, top}});
    p.addPath(polyline({{left + width / 2, top}, {left + width / 2, bottom}}));
    return stroked(p, pen);
}

QPainterPath bracket(qreal x, qreal inward, qreal top, qreal bottom, qreal pen) {
    return stroked(polyline({{x + inward, top}, {x, top}, {x, bottom}, {x + inward, bottom}}), pen);
}

QPainterPath speaker() {
    return polygon({{1.5, 5.8}, {4.6, 5.8}, {8.6, 2.2}, {8.6, 13.8}, {4.6, 10.2}, {1.5, 10.2}});
}

// One outline of several parts: overlapping strokes must not cancel each other out.
QPainterPath unite(std::initializer_list<QPainterPath> parts) {
    QPainterPath out;
    for (const QPainterPath& p : parts) out = out.united(p);
    return out;
}

constexpr std::size_t kIconCount = static_cast<std::size_t>(Icon::FoldBack) + 1;

QPainterPath buildIcon(Icon icon) {
    switch (icon) {
        case Icon::Open:
            return unite(
                {polygon({{8, 2.2}, {14, 8.8}, {2, 8.8}}), rounded(2, 10.8, 12, 2.6, 0.6)});
        case Icon::Previous:
            return unite({rounded(2.2, 2.8, 2.2, 10.4, 0.5),
                          polygon({{13.8, 2.8}, {5.2, 8}, {13.8, 13.2}})});
        case Icon::Play:
            return polygon({{3.8, 2.2}, {13.6, 8}, {3.8, 13.8}});
        case Icon::Pause:
            return unite({rounded(3.4, 2.8, 3.4, 10.4, 0.6), rounded(9.2, 2.8, 3.4, 10.4, 0.6)});
        case Icon::Stop:
            return rounded(3.2, 3.2, 9.6, 9.6, 1.2);
        case Icon::Next:
            return unite({polygon({{2.2, 2.8}, {10.8, 8}, {2.2, 13.2}}),
                          rounded(11.6, 2.8, 2.2, 10.4, 0.5)});
        case Icon::Speaker: {
            QPainterPath waves;
            waves.arcMoveTo(QRectF(6.2, 5.2, 5.6, 5.6), 50);
            waves.arcTo(QRectF(6.2, 5.2, 5.6, 5.6), 50, -100);
            waves.arcMoveTo(QRectF(4.6, 3, 9.6, 10), 52);
            waves.arcTo(QRectF(4.6, 3, 9.6, 10), 52, -104);
            return unite({speaker(), stroked(waves, 1.4)});
        }
        case Icon::SpeakerMuted:
            return unite({speaker(), cross(10.4, 5.8, 14.4, 10.2, 1.6)});
        case Icon::RepeatStart:
            return unite({bracket(1.8, 2.6, 2.6, 13.4, 1.6), letterA(6.2, 8.4, 2.8, 13.4, 1.7)});
        case Icon::RepeatEnd:
            return unite({letterB(2.2, 7.2, 2.8, 13.2, 1.7), bracket(14.2, -2.6, 2.6, 13.4, 1.6)});
        case Icon::RepeatClear:
            return unite({bracket(1.8, 2.4, 2.6, 13.4, 1.6), bracket(14.2, -2.4, 2.6, 13.4, 1.6),
                          cross(5.8, 5.4, 10.2, 10.6, 1.6)});
        case Icon::Smoothing: {
            QPainterPath wave;
            wave.moveTo(1.8, 10.2);
            wave.cubicTo(4.4, 3.2, 6.6, 3.2, 8, 8);
            wave.cubicTo(9.4, 12.8, 11.6, 12.8, 14.2, 5.8);
            return stroked(wave, 2.0);
        }
        case Icon::Bold:
            return letterB(3.6, 8.6, 2.6, 13.4, 2.8);
        case Icon::Border:
            return stroked(polygon({{2.2, 2.4},
                                    {13.8, 2.4},
                                    {13.8, 6.2},
                                    {9.9, 6.2},
                                    {9.9, 13.6},
                                    {6.1, 13.6},
                                    {6.1, 6.2},
                                    {2.2, 6.2}}),
                           1.3);
        case Icon::Captions: {
            QPainterPath frame;
            frame.addRoundedRect(QRectF(1.4, 2.8, 13.2, 10.4), 2, 2);
            QPainterPath lines = polyline({{4.2, 8.2}, {8.4, 8.2}});
            lines.addPath(polyline({{10.4, 8.2}, {11.8, 8.2}}));
            lines.addPath(polyline({{4.2, 10.6}, {11.8, 10.6}}));
            return unite({stroked(frame, 1.4), stroked(lines, 1.5)});
        }
        case Icon::CaptionLarger:
            return unite({letterT(1.6, 8.4, 4.4, 14, 2.2),
                          stroked(polyline({{10.6, 4.2}, {14.6, 4.2}}), 1.6),
                          stroked(polyline({{12.6, 2.2}, {12.6, 6.2}}), 1.6)});
        case Icon::CaptionSmaller:
            return unite({letterT(1.6, 8.4, 4.4, 14, 2.2),
                          stroked(polyline({{10.6, 4.2}, {14.6, 4.2}}), 1.6)});
        case Icon::CaptionUp:
            return unite({stroked(polyline({{8, 13.6}, {8, 3.2}}), 1.8),
                          stroked(polyline({{3.6, 7.4}, {8, 3}, {12.4, 7.4}}), 1.8)});
        case Icon::CaptionDown:
            return unite({stroked(polyline({{8, 2.4}, {8, 12.8}}), 1.8),
                          stroked(polyline({{3.6, 8.6}, {8, 13}, {12.4, 8.6}}), 1.8)});
        case Icon::CaptionLanguage: {
            QPainterPath globe;
            globe.addEllipse(QRectF(1.8, 1.8, 12.4, 12.4));
            globe.addEllipse(QRectF(5.2, 1.8, 5.6, 12.4));
            globe.addPath(polyline({{2, 8}, {14, 8}}));
            return stroked(globe, 1.3);
        }
        case Icon::Minimize:
            return stroked(polyline({{3.5, 11.5}, {12.5, 11.5}}), 1.6);
        case Icon::Maximize: {
            QPainterPath box;
            box.addRoundedRect(QRectF(3.5, 3.5, 9, 9), 1, 1);
            return stroked(box, 1.5);
        }
        case Icon::Quit:
            return cross(4, 4, 12, 12, 1.6);
        case Icon::FoldBack:
            return stroked(polyline({{3.5, 5.8}, {8, 10.2}, {12.5, 5.8}}), 1.8);
    }
    return {};
}

}  // namespace

QPainterPath iconPath(Icon icon) {
    // Built once: the boolean operations are not free and a bar repaints often.
    static std::array<QPainterPath, kIconCount> cache;
    static std::array<bool, kIconCount> built{};
    const auto i = static_cast<std::size_t>(icon);
    if (i >= kIconCount) return {};
    if (!built[i]) {
        cache[i] = buildIcon(icon);
        built[i] = true;
    }
    return cache[i];
}

void paintIcon(QPainter& painter, Icon icon, const QRectF& box, const QColor& colour) {
    const qreal side = std::min(box.width(), box.height());
    if (side <= 0) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.translate(box.center().x() - side / 2, box.center().y() - side / 2);
    painter.scale(side / 16.0, side / 16.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPath(iconPath(icon));
    painter.restore();
}

}  // namespace orvalis::controls
