#include "player/QtTimerService.h"

namespace orvalis {

QtTimerService::QtTimerService(Handler handler, QObject* parent)
    : QObject(parent), handler_(std::move(handler)) {}

QTimer* QtTimerService::timer(TimerId id) {
    auto it = timers_.find(id);
    if (it != timers_.end()) return it->second;
    auto* t = new QTimer(this);
    t->setObjectName(QString::fromLatin1(timerRoleName(id)));
    t->setTimerType(Qt::PreciseTimer);
    connect(t, &QTimer::timeout, this, [this, id] { handler_(id); });
    timers_.emplace(id, t);
    return t;
}

void QtTimerService::start(TimerId id, int milliseconds) { timer(id)->start(milliseconds); }

void QtTimerService::kill(TimerId id) {
    auto it = timers_.find(id);
    if (it != timers_.end()) it->second->stop();
}

bool QtTimerService::isActive(TimerId id) const {
    auto it = timers_.find(id);
    return it != timers_.end() && it->second->isActive();
}

}  // namespace orvalis
