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

signals:
    // logind's answer; error is empty when it accepted.
    void answered(bool accepted, const QString& error);

private:
    QDBusConnection bus_;
    std::optional<QDBusPendingCall> pending_;
};

}  // namespace orvalis
