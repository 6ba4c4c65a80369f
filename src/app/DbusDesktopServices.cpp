#include "app/DbusDesktopServices.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace orvalis {

namespace {

constexpr const char* kService = "org.freedesktop.ScreenSaver";
constexpr const char* kPath = "/org/freedesktop/ScreenSaver";
constexpr const char* kInterface = "org.freedesktop.ScreenSaver";

bool busAvailable() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.isConnected();
}

}  // namespace

DbusDesktopServices::DbusDesktopServices(QObject* parent) : QObject(parent) {}

DbusDesktopServices::~DbusDesktopServices() {
    want_ = false;
    if (cookie_) sendUninhibit();
}

void DbusDesktopServices::inhibitScreenSaver(bool inhibit) {
    want_ = inhibit;
    if (!busAvailable()) return;
    if (!inhibit) {
        if (cookie_) sendUninhibit();
        return;
    }
    if (cookie_ || requestInFlight_) return;
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, "Inhibit");
    call << QStringLiteral("Orvalis") << QStringLiteral("Playing a medium");
    requestInFlight_ = true;
    auto* watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call, 5000), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* w) {
                QDBusPendingReply<uint> reply = *w;
                w->deleteLater();
                requestInFlight_ = false;
                if (reply.isError()) return;
                cookie_ = reply.value();
                // Playback may have paused while the request was on its way.
                if (!want_) sendUninhibit();
            });
}

void DbusDesktopServices::sendUninhibit() {
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, "UnInhibit");
    call << static_cast<uint>(cookie_);
    cookie_ = 0;
    QDBusConnection::sessionBus().asyncCall(call, 5000);
}

bool DbusDesktopServices::openUrl(const std::string& url) {
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

bool DbusDesktopServices::openInTextEditor(const std::string& path) {
    const QString file = QString::fromStdString(path);
    if (!QFileInfo::exists(file)) return false;
    // The desktop's handler for plain text, so that a caption file opens in an editor
    // rather than in a media player that happens to claim it.
    for (const char* editor : {"gnome-text-editor", "gedit", "kate", "kwrite", "mousepad",
                               "xed", "pluma", "leafpad", "featherpad"}) {
        const QString exe = QStandardPaths::findExecutable(editor);
        if (!exe.isEmpty()) return QProcess::startDetached(exe, {file});
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

}  // namespace orvalis
