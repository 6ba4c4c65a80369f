#include "extras/DbusPowerControl.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <cstdio>

namespace orvalis {

namespace {

constexpr const char* kService = "org.freedesktop.login1";
constexpr const char* kPath = "/org/freedesktop/login1";
constexpr const char* kInterface = "org.freedesktop.login1.Manager";
constexpr int kCallTimeoutMs = 5000;

}  // namespace

DbusPowerControl::DbusPowerControl(QObject* parent)
    : DbusPowerControl(QDBusConnection::systemBus(), parent) {}

DbusPowerControl::DbusPowerControl(const QDBusConnection& bus, QObject* parent)
    : QObject(parent), bus_(bus) {}

void DbusPowerControl::powerOff() {
    if (!bus_.isConnected()) {
        emit answered(false, QStringLiteral("no system bus"));
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, "PowerOff");
    // Not interactive: a forced power-off never waits for a password prompt.
    call << false;
    call.setInteractiveAuthorizationAllowed(false);
    pending_ = bus_.asyncCall(call, kCallTimeoutMs);
    auto* watcher = new QDBusPendingCallWatcher(*pending_, this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        emit answered(!w->isError(), w->isError() ? w->error().message() : QString());
    });
}

bool DbusPowerControl::waitForAnswer() {
    if (!pending_) return false;
    pending_->waitForFinished();
    return !pending_->isError();
}

QString DbusPowerControl::errorText() const {
    if (!pending_ || !pending_->isFinished() || !pending_->isError()) return {};
    return pending_->error().message();
}

void finishPowerOff(DbusPowerControl& power) {
    if (!power.requestSent()) return;
    if (!power.waitForAnswer())
        std::fprintf(stderr, "Orvalis: the system did not power off: %s\n",
                     qUtf8Printable(power.errorText()));
}

}  // namespace orvalis
