#pragma once

#include <QWidget>
#include <functional>

#include "player/OsdMessages.h"
#include "ports/OsdPort.h"
#include "ports/Timers.h"

namespace orvalis {

// The one short on-screen message: a small top-most text window at a screen point, hidden
// by the player window's message timer.
class OsdTip final : public QWidget, public OsdPort {
    Q_OBJECT
public:
    OsdTip(TimerService& timers, std::function<osd::Placement()> placement);

    void show(const std::string& text, int durationMs = 0) override;
    void showAt(const std::string& text, geometry::Point screen, int durationMs) override;
    void hide() override;

    QString text() const { return text_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void present(const osd::Plan& plan);

    TimerService& timers_;
    std::function<osd::Placement()> placement_;
    QString text_;
};

}  // namespace orvalis
