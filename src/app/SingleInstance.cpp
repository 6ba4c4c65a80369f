#include "app/SingleInstance.h"

#include <QDataStream>
#include <QDir>
#include <QLocalSocket>
#include <QLockFile>
#include <memory>
#include <QStandardPaths>
#include <QTimer>
#include <unistd.h>

namespace orvalis {

namespace {

constexpr char kMagic[] = "ORVALIS1";
constexpr int kMagicSize = 8;
constexpr int kHeaderSize = kMagicSize + 4;
constexpr int kTimeoutMs = 5000;

QString runtimeDir() {
    // Qt falls back to a private folder of its own (mode 0700) when XDG_RUNTIME_DIR is unset.
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath() + QStringLiteral("/runtime-%1").arg(::getuid());
    QDir().mkpath(dir);
    return dir;
}

QByteArray frame(const QByteArray& payload) {
    QByteArray out(kMagic, kMagicSize);
    const quint32 n = static_cast<quint32>(payload.size());
    for (int shift = 24; shift >= 0; shift -= 8) out.append(static_cast<char>((n >> shift) & 0xFF));
    out.append(payload);
    return out;
}

}  // namespace

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
}

SingleInstance::~SingleInstance() { server_.close(); }

QString SingleInstance::socketPath() { return runtimeDir() + QStringLiteral("/orvalis.sock"); }
QString SingleInstance::lockPath() { return runtimeDir() + QStringLiteral("/orvalis.lock"); }

SingleInstance::Role SingleInstance::handOver(const std::string& list, bool* connected,
                                              const std::function<void()>& beforeHandOver) {
    *connected = false;
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    if (!socket.waitForConnected(1000)) return Role::Failed;
    *connected = true;
    if (beforeHandOver) beforeHandOver();
    socket.write(frame(QByteArray::fromStdString(list)));
    if (!socket.waitForBytesWritten(kTimeoutMs)) return Role::Failed;
    QByteArray answer;
    while (answer.size() < 2 && socket.waitForReadyRead(kTimeoutMs)) answer += socket.readAll();
    return answer.startsWith("OK") ? Role::HandedOver : Role::Failed;
}

SingleInstance::Role SingleInstance::start(const std::string& list,
                                           const std::function<void()>& beforeHandOver) {
    if (static_cast<qsizetype>(list.size()) > kMaxMessage) return Role::Failed;
    bool connected = false;
    if (handOver(list, &connected, beforeHandOver) == Role::HandedOver) return Role::HandedOver;
    if (connected) return Role::Failed;  // an instance answered but refused

    QLockFile lock(lockPath());
    lock.setStaleLockTime(10000);
    if (!lock.tryLock(kTimeoutMs)) return Role::Failed;
    // Another start may have become the instance while we waited for the lock.
    if (handOver(list, &connected, beforeHandOver) == Role::HandedOver) return Role::HandedOver;
    if (connected) return Role::Failed;
    QLocalServer::removeServer(socketPath());  // left behind by an instance that died
    if (!server_.listen(socketPath())) return Role::Failed;
    return Role::Primary;
}

void SingleInstance::acceptConnections() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        struct Incoming {
            QByteArray bytes;
            bool done = false;
        };
        auto in = std::make_shared<Incoming>();
        auto timer = new QTimer(socket);
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, socket, &QLocalSocket::abort);
        timer->start(kTimeoutMs);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, in] {
            QByteArray* buffer = &in->bytes;
            buffer->append(socket->readAll());
            if (in->done) return;
            if (buffer->size() < kHeaderSize) return;
            if (!buffer->startsWith(QByteArray(kMagic, kMagicSize))) {
                socket->abort();
                return;
            }
            quint32 n = 0;
            for (int i = 0; i < 4; ++i)
                n = (n << 8) | static_cast<unsigned char>(buffer->at(kMagicSize + i));
            if (n > static_cast<quint32>(kMaxMessage)) {
                in->done = true;
                socket->write("REFUSED");
                socket->flush();
                socket->disconnectFromServer();
                return;
            }
            if (buffer->size() < kHeaderSize + static_cast<qsizetype>(n)) return;
            in->done = true;
            const QString list = QString::fromUtf8(buffer->mid(kHeaderSize, n));
            socket->write("OK");
            socket->flush();
            socket->disconnectFromServer();
            emit listReceived(list);
        });
    }
}

}  // namespace orvalis
