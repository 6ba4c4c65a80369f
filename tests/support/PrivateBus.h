#pragma once

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <memory>
#include <string>

#include "support/TestSupport.h"

namespace orvalis::test {

// A dbus-daemon of the test's own ("session" or "system" type), listening on a socket in a
// fresh folder of the private home and letting every client own and call every name. The
// test points its connections there; the user's and the system's buses are never reached.
class PrivateBus {
public:
    explicit PrivateBus(const std::string& type) {
        const std::string dir = freshDir(type + "-bus");
        writeFile(dir + "/bus.conf",
                  "<busconfig><type>" + type + "</type><listen>unix:path=" + dir +
                      "/socket</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                      "<allow user=\"*\"/><allow own=\"*\"/><allow send_destination=\"*\"/>"
                      "<allow receive_sender=\"*\"/></policy></busconfig>\n");
        const QString exe = QStandardPaths::findExecutable("dbus-daemon");
        if (exe.isEmpty()) {
            error = "dbus-daemon is needed (scripts/install-deps.sh)";
            return;
        }
        daemon_ = std::make_unique<QProcess>();
        daemon_->start(exe, {"--nofork", "--print-address",
                             QString::fromStdString("--config-file=" + dir + "/bus.conf")});
        if (!daemon_->waitForStarted(5000) ||
            !waitUntil([this] { return daemon_->canReadLine(); }, 10000)) {
            error = "dbus-daemon did not start";
            return;
        }
        address_ = QString::fromUtf8(daemon_->readLine()).trimmed();
        if (!address_.startsWith("unix:")) {
            error = "dbus-daemon gave no address";
            address_.clear();
        }
    }
    ~PrivateBus() {
        if (!daemon_) return;
        daemon_->kill();
        daemon_->waitForFinished(5000);
    }
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    // Empty when the daemon did not start (error says why).
    const QString& address() const { return address_; }
    std::string error;

private:
    std::unique_ptr<QProcess> daemon_;
    QString address_;
};

}  // namespace orvalis::test
