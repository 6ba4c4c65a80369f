#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QLocalSocket>
#include <QProcess>
#include <QStringList>
#include <memory>

#include "app/SingleInstance.h"
#include "support/TestSupport.h"

using orvalis::SingleInstance;
using orvalis::test::waitUntil;

namespace {

std::unique_ptr<QProcess> startProbe(int waitMs, int expected, const QStringList& files = {}) {
    auto p = std::make_unique<QProcess>();
    p->setProcessChannelMode(QProcess::SeparateChannels);
    p->start(QStringLiteral(INSTANCE_PROBE), QStringList{QString::number(waitMs), QString::number(expected)} + files);
    p->waitForStarted();
    return p;
}

QString finish(QProcess& p) {
    p.waitForFinished(15000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

bool becamePrimary(QProcess& p) {
    return waitUntil([&] {
        p.waitForReadyRead(20);
        return p.peek(64).startsWith("PRIMARY");
    }, 8000);
}

}  // namespace

TEST(SingleInstance, ASecondStartHandsOverItsFilesAndEnds) {
    auto first = startProbe(10000, 2);
    ASSERT_TRUE(becamePrimary(*first));

    auto second = startProbe(0, 0, {"/media/one.avi", "/media/two words.mkv"});
    EXPECT_EQ(finish(*second), "HANDED\n");
    EXPECT_EQ(second->exitCode(), 0);
    auto third = startProbe(0, 0);  // no files: only brings the running player forward
    EXPECT_EQ(finish(*third), "HANDED\n");

    EXPECT_EQ(finish(*first), "PRIMARY\nGOT:/media/one.avi;/media/two words.mkv;\nGOT:\n");

    EXPECT_NE(SingleInstance::socketPath().toStdString().find(orvalis::test::privateHome()), std::string::npos);
}

TEST(SingleInstance, SimultaneousStartsGiveExactlyOneInstance) {
    std::vector<std::unique_ptr<QProcess>> probes;
    for (int i = 0; i < 5; ++i) probes.push_back(startProbe(8000, 4, {QStringLiteral("/m/%1.avi").arg(i)}));
    int primaries = 0, handed = 0;
    QString received;
    for (auto& p : probes) {
        QString out = finish(*p);
        if (out.startsWith("PRIMARY")) {
            ++primaries;
            received = out;
        } else if (out == "HANDED\n") {
            ++handed;
        }
    }
    EXPECT_EQ(primaries, 1);
    EXPECT_EQ(handed, 4);
    EXPECT_EQ(received.count("GOT:/m/"), 4);
}

TEST(SingleInstance, ASocketLeftByADeadInstanceIsTakenOver) {
    auto dead = startProbe(30000, 1);
    ASSERT_TRUE(becamePrimary(*dead));
    dead->kill();  // no chance to clean up: the socket file stays
    dead->waitForFinished();
    struct stat st {};
    ASSERT_EQ(::stat(SingleInstance::socketPath().toUtf8().constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 077, 0u) << "the socket must be reachable by its user only";

    auto next = startProbe(0, 0, {"/m/a.avi"});
    EXPECT_EQ(finish(*next), "PRIMARY\n");
}

TEST(SingleInstance, OversizedHandOversAreRefused) {
    auto first = startProbe(3000, 1);
    ASSERT_TRUE(becamePrimary(*first));
    QLocalSocket socket;
    socket.connectToServer(SingleInstance::socketPath());
    ASSERT_TRUE(socket.waitForConnected(2000));
    QByteArray header("ORVALIS1");
    const quint32 n = 70 * 1024;
    for (int shift = 24; shift >= 0; shift -= 8) header.append(char((n >> shift) & 0xFF));
    socket.write(header + QByteArray(1024, 'x'));
    socket.waitForBytesWritten(2000);
    QByteArray answer;
    waitUntil([&] {
        socket.waitForReadyRead(20);
        answer += socket.readAll();
        return !answer.isEmpty() || socket.state() != QLocalSocket::ConnectedState;
    }, 3000);
    EXPECT_EQ(answer, "REFUSED");
    EXPECT_EQ(finish(*first), "PRIMARY\n");  // nothing was received

    SingleInstance client;
    EXPECT_EQ(client.start(std::string(SingleInstance::kMaxMessage + 1, 'a')), SingleInstance::Role::Failed);
}
