#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <map>

#include "ports/Timers.h"

namespace orvalis {

// One QTimer per identifier, named after its role; each tick calls the handler.
class QtTimerService final : public QObject, public TimerService {
    Q_OBJECT
public:
    using Handler = std::function<void(TimerId)>;
    explicit QtTimerService(Handler handler, QObject* parent = nullptr);

    void start(TimerId id, int milliseconds) override;
    void kill(TimerId id) override;
    bool isActive(TimerId id) const override;

private:
    QTimer* timer(TimerId id);
    Handler handler_;
    std::map<TimerId, QTimer*> timers_;
};

}  // namespace orvalis
