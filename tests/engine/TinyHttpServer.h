#pragma once

#include <QTcpServer>
#include <QTcpSocket>
#include <fstream>
#include <iterator>
#include <string>

namespace orvalis::test {

// Serves one file over HTTP on the loopback, enough for libmpv to play it as a stream.
class TinyHttpServer {
public:
    explicit TinyHttpServer(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        body_.assign(std::istreambuf_iterator<char>(in), {});
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* s = server_.nextPendingConnection()) {
                QObject::connect(s, &QTcpSocket::readyRead, s, [this, s] {
                    QByteArray request = s->readAll();
                    if (!request.contains("\r\n\r\n")) return;
                    QByteArray head =
                        "HTTP/1.1 200 OK\r\nContent-Type: video/mp4\r\nContent-Length: " +
                        QByteArray::number(qsizetype(body_.size())) +
                        "\r\nConnection: close\r\n\r\n";
                    s->write(head);
                    if (!request.startsWith("HEAD")) s->write(body_.data(), qint64(body_.size()));
                    s->disconnectFromHost();
                });
                QObject::connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            }
        });
    }
    std::string url(const std::string& name) const {
        return "http://127.0.0.1:" + std::to_string(server_.serverPort()) + "/" + name;
    }

private:
    QTcpServer server_;
    std::string body_;
};

}  // namespace orvalis::test
