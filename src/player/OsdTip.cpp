#include "player/OsdTip.h"

#include <QFontMetrics>
#include <QPainter>

namespace orvalis {

OsdTip::OsdTip(TimerService& timers, std::function<osd::Placement()> placement)
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus),
      timers_(timers),
      placement_(std::move(placement)) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_TranslucentBackground);
    QFont f = font();
    f.setPointSizeF(10.5);
    setFont(f);
    setWindowTitle(QStringLiteral("Orvalis OSD"));
}

void OsdTip::show(const std::string& text, int durationMs) {
    present(osd::plan(osd::adjustmentAnchor(placement_()), text, durationMs));
}

void OsdTip::showAt(const std::string& text, geometry::Point screen, int durationMs) {
    present(osd::plan({screen.x, screen.y}, text, durationMs));
}

void OsdTip::present(const osd::Plan& plan) {
    if (!plan.visible) {
        hide();
        return;
    }
    text_ = QString::fromStdString(plan.text);
    const QFontMetrics metrics(font());
    const QSize size = metrics.size(0, text_) + QSize(16, 8);
    setGeometry(plan.at.x, plan.at.y, size.width(), size.height());
    QWidget::show();
    raise();
    update();
    if (plan.hideAfterMs) {
        timers_.start(TimerId::OsdHide, *plan.hideAfterMs);
    } else {
        timers_.kill(TimerId::OsdHide);
    }
}

void OsdTip::hide() {
    timers_.kill(TimerId::OsdHide);
    QWidget::hide();
}

void OsdTip::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(255, 255, 255, 60));
    p.setBrush(QColor(20, 22, 26, 225));
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    p.setPen(QColor(0xF0, 0xF0, 0xF0));
    p.drawText(rect(), Qt::AlignCenter, text_);
}

}  // namespace orvalis
