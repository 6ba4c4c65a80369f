#pragma once

#include <QDBusConnection>
#include <QDBusPendingCall>
#include <QObject>
#include <QString>
#include <optional>

#include "extras/PowerControl.h"

namespace orvalis {

// Power-off through systemd-logind: org.freedesktop.login1.Manager.PowerOff(false) on the
// system bus. The call is sent without waiting; without a system bus nothing happens.
class DbusPowerControl final : public QObject, public PowerControl {
    Q_OBJECT
public:
    explicit DbusPowerControl(QObject* parent = nullptr);
    // Another bus in place of the system bus.
    DbusPowerControl(const QDBusConnection& bus, QObject* parent = nullptr);

    void powerOff() override;

    // The program is about to end: gives a request still on its way the time to leave the
    // process (at most the call's own timeout). True when logind accepted it.
    bool waitForAnswer();
    bool requestSent() const { return pending_.has_value(); }
    // logind's refusal, once answered; empty while waiting or when it accepted.
    QString errorText() const;

signals:
    // logind's answer; error is empty when it accepted.
    void answered(bool accepted, const QString& error);

private:
    QDBusConnection bus_;
    std::optional<QDBusPendingCall> pending_;
};

// For main, once the event loop has ended: a power-off that the sleep timer asked for may
// still be on its way to logind, and the process must not end before it has left. Waits
// for the answer (at most the call's timeout) and says on stderr when logind refused.
// Returns at once when no power-off was asked for.
void finishPowerOff(DbusPowerControl& power);

}  // namespace orvalis
