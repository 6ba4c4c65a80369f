#include "app/SingleInstance.h"

#include <unistd.h>

#include <QDir>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QTimer>
#include <memory>

#include "base/HandOver.h"

namespace orvalis {

namespace {

constexpr int kTimeoutMs = 5000;

QString runtimeDir() {
    // Qt falls back to a private folder of its own (mode 0700) when XDG_RUNTIME_DIR is unset.
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath() + QStringLiteral("/runtime-%1").arg(::getuid());
    QDir().mkpath(dir);
    return dir;
}

void answer(QLocalSocket* socket, const char* text) {
    socket->write(text);
    socket->flush();
    socket->disconnectFromServer();
}

}  // namespace

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
}

SingleInstance::~SingleInstance() { server_.close(); }

QString SingleInstance::socketPath() { return runtimeDir() + QStringLiteral("/orvalis.sock"); }
QString SingleInstance::lockPath() { return runtimeDir() + QStringLiteral("/orvalis.lock"); }

SingleInstance::Role SingleInstance::handOver(const std::vector<std::string>& paths,
                                              bool* connected,
                                              const std::function<void()>& beforeHandOver) {
    *connected = false;
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    if (!socket.waitForConnected(1000)) return Role::Alone;
    *connected = true;
    if (beforeHandOver) beforeHandOver();
    const std::string message = handover::encode(paths);
    if (message.empty()) return Role::Alone;
    socket.write(message.data(), static_cast<qint64>(message.size()));
    // The running player may refuse (and close) before all of a long list is written.
    while (socket.bytesToWrite() > 0 && socket.state() == QLocalSocket::ConnectedState)
        if (!socket.waitForBytesWritten(kTimeoutMs)) break;
    QByteArray answer = socket.readAll();
    while (answer.size() < 2 && socket.waitForReadyRead(kTimeoutMs)) answer += socket.readAll();
    return answer.startsWith("OK") ? Role::HandedOver : Role::Alone;
}

SingleInstance::Role SingleInstance::start(const std::vector<std::string>& paths,
                                           const std::function<void()>& beforeHandOver) {
    bool connected = false;
    if (handOver(paths, &connected, beforeHandOver) == Role::HandedOver) return Role::HandedOver;
    if (connected) return Role::Alone;  // an instance answered but did not take the paths

    QLockFile lock(lockPath());
    lock.setStaleLockTime(10000);
    if (!lock.tryLock(kTimeoutMs)) return Role::Alone;
    // Another start may have become the instance while we waited for the lock.
    if (handOver(paths, &connected, beforeHandOver) == Role::HandedOver) return Role::HandedOver;
    if (connected) return Role::Alone;
    QLocalServer::removeServer(socketPath());  // left behind by an instance that died
    return server_.listen(socketPath()) ? Role::Primary : Role::Alone;
}

void SingleInstance::acceptConnections() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        auto timer = new QTimer(socket);
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, socket, &QLocalSocket::abort);
        timer->start(kTimeoutMs);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto reader = std::make_shared<handover::Reader>();
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, reader] {
            const QByteArray bytes = socket->readAll();
            if (reader->state() != handover::Reader::State::NeedMore) return;
            switch (reader->feed(std::string_view(bytes.constData(), bytes.size()))) {
                case handover::Reader::State::NeedMore:
                    return;
                case handover::Reader::State::Malformed:
                    socket->abort();
                    return;
                case handover::Reader::State::TooLarge:
                    answer(socket, "REFUSED");
                    return;
                case handover::Reader::State::Done: {
                    // What the player does with the list may outlive this connection.
                    const std::vector<std::string> paths = reader->paths();
                    answer(socket, "OK");
                    emit listReceived(paths);
                    return;
                }
            }
        });
    }
}

}  // namespace orvalis
