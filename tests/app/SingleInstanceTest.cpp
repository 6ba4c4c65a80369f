#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QLocalSocket>
#include <QProcess>
#include <memory>
#include <thread>

#include "app/SingleInstance.h"
#include "base/HandOver.h"
#include "base/Startup.h"
#include "support/TestSupport.h"

using orvalis::SingleInstance;
using orvalis::test::waitUntil;
namespace handover = orvalis::handover;

namespace {

// The probe (InstanceProbe.cpp): a start that takes part in the hand-over as the player does
// and says on its standard output what happened.
class Probe {
public:
    Probe(int waitMs, int expected, const std::vector<std::string>& files = {}) {
        QStringList args = {QString::number(waitMs), QString::number(expected)};
        for (const std::string& file : files) args << QString::fromStdString(file);
        process.start(INSTANCE_PROBE, args);
    }
    ~Probe() {
        if (process.state() != QProcess::NotRunning) process.kill();
        process.waitForFinished(5000);
    }
    bool becamePrimary() {
        while (!text.contains("PRIMARY\n") && process.waitForReadyRead(15000))
            text += process.readAllStandardOutput();
        return text.contains("PRIMARY\n");
    }
    // Everything the probe wrote, once it has ended.
    std::string finish() {
        process.waitForFinished(30000);
        exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        return (text += process.readAllStandardOutput()).toStdString();
    }
    QProcess process;
    QByteArray text;
    int exitCode = -1;
};

// The running player's answer to raw bytes from a client of its own.
QByteArray answerTo(const QByteArray& bytes) {
    QLocalSocket socket;
    socket.connectToServer(SingleInstance::socketPath());
    if (!socket.waitForConnected(2000)) return "no connection";
    socket.write(bytes);
    socket.waitForBytesWritten(2000);
    QByteArray answer;
    waitUntil(
        [&] {
            socket.waitForReadyRead(20);
            answer += socket.readAll();
            return !answer.isEmpty() || socket.state() != QLocalSocket::ConnectedState;
        },
        3000);
    return answer;
}

int unixSocket(const std::string& path, bool listen) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::copy(path.begin(), path.end(), address.sun_path);
    auto* a = reinterpret_cast<sockaddr*>(&address);
    const bool ok = listen ? ::bind(fd, a, sizeof address) == 0 && ::listen(fd, 4) == 0
                           : ::connect(fd, a, sizeof address) == 0;
    if (!ok) ::close(fd);
    return ok ? fd : -1;
}

}  // namespace

TEST(SingleInstance, ASecondStartHandsOverItsFilesWholeAndEnds) {
    // A list far beyond one socket buffer, of names that travel as their bytes.
    std::vector<std::string> many;
    std::string joined;
    for (int i = 0; i < 900; ++i) {
        many.push_back("/media/a folder with a long name/episode " + std::to_string(1000 + i) +
                       " of a series that has a long title.mkv");
        joined += (i ? "|" : "") + many.back();
    }
    ASSERT_GT(handover::encode(many).size(), 64u * 1024);
    Probe first(30000, 3, many);  // and a start given a list becomes the player
    ASSERT_TRUE(first.becamePrimary());
    // ";", a blank at the start, and a name that is not UTF-8 once its URL is decoded.
    Probe second(0, 0, {"/m/a;b.avi", " lead.avi", "/m/한글.avi", "file:///m/%C0%BD.avi"});
    EXPECT_EQ(second.finish(), "HANDED\n");
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_EQ(Probe(0, 0).finish(), "HANDED\n");  // no files: only brings the player forward
    // The long list last: the player's line for it is more than the pipe holds until read.
    EXPECT_EQ(Probe(0, 0, many).finish(), "HANDED\n");
    EXPECT_EQ(first.finish(), "PRIMARY\nGOT:/m/a;b.avi|" + orvalis::currentFolder() +
                                  "/ lead.avi|/m/한글.avi|/m/\xc0\xbd.avi\nGOT:\nGOT:" + joined +
                                  "\n");
    EXPECT_EQ(SingleInstance::socketPath().toStdString().rfind(orvalis::test::privateHome(), 0),
              0u);
}

TEST(SingleInstance, SimultaneousStartsGiveExactlyOneInstance) {
    std::vector<std::unique_ptr<Probe>> probes;
    for (int i = 0; i < 5; ++i)
        probes.push_back(
            std::make_unique<Probe>(8000, 4, std::vector{"/m/" + std::to_string(i) + ".avi"}));
    int primaries = 0, handed = 0;
    std::size_t got = 0;
    for (auto& p : probes) {
        const std::string out = p->finish();
        handed += out == "HANDED\n";
        if (out.rfind("PRIMARY", 0) != 0) continue;
        ++primaries;
        for (std::size_t at = 0; (at = out.find("GOT:/m/", at)) != std::string::npos; ++at) ++got;
    }
    EXPECT_EQ(primaries, 1);
    EXPECT_EQ(handed, 4);
    EXPECT_EQ(got, 4u);
}

TEST(SingleInstance, ASocketLeftByADeadInstanceIsTakenOver) {
    Probe dead(30000, 1);
    ASSERT_TRUE(dead.becamePrimary());
    dead.process.kill();  // no chance to clean up: the socket file stays
    dead.process.waitForFinished();
    ASSERT_EQ(::access(SingleInstance::socketPath().toUtf8().constData(), F_OK), 0);
    EXPECT_EQ(Probe(0, 0, {"/m/a.avi"}).finish(), "PRIMARY\n");
}

// Only the user reaches the socket, and a local client that sends garbage, floods it, or
// connects and says nothing, neither stops nor holds up the running player.
TEST(SingleInstance, TheSocketIsTheUsersAndNoClientStopsOrHoldsUpThePlayer) {
    // A runtime folder that is not there yet is made for the user alone.
    const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
    const std::string runtime = orvalis::test::freshDir("runtime") + "/made";
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime));
    Probe first(20000, 1);
    ASSERT_TRUE(first.becamePrimary());
    const std::string socket = SingleInstance::socketPath().toStdString();
    ASSERT_EQ(socket.rfind(runtime, 0), 0u) << socket;
    for (const std::string& path : {socket, runtime}) {
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 077, 0u) << path << " " << std::oct << st.st_mode;
    }

    EXPECT_EQ(answerTo(QByteArray("ORVALIS1\0\0\0\x06/a.avi", 18)), "");  // not ours: dropped
    EXPECT_EQ(answerTo(QByteArray("ORVALIS2\xff\xff\xff\xff", 12) + QByteArray(1024, 'x')),
              "REFUSED");
    {
        QLocalSocket gone;  // ends long before its length
        gone.connectToServer(SingleInstance::socketPath());
        ASSERT_TRUE(gone.waitForConnected(2000));
        gone.write(QByteArray("ORVALIS2\0\0\x10\0/half", 17));
        gone.waitForBytesWritten(2000);
    }
    QLocalSocket silent;  // connects and never writes
    silent.connectToServer(SingleInstance::socketPath());
    ASSERT_TRUE(silent.waitForConnected(2000));
    // 100 MB that are no hand-over, written as fast as the player lets them in.
    std::thread flood([&] {
        const int fd = unixSocket(socket, false);
        const std::string chunk(1 << 20, 'x');
        for (int i = 0; fd >= 0 && i < 100; ++i)
            if (::send(fd, chunk.data(), chunk.size(), MSG_NOSIGNAL) < 0) break;
        if (fd >= 0) ::close(fd);
    });
    EXPECT_EQ(Probe(0, 0, {"/m/after.avi"}).finish(), "HANDED\n");
    flood.join();
    EXPECT_EQ(first.finish(), "PRIMARY\nGOT:/m/after.avi\n");
    qputenv("XDG_RUNTIME_DIR", oldRuntime);
}

// A running player that will not take the list (a message too large for it, or a stuck
// one): the start that was given the files plays them itself.
TEST(SingleInstance, AListTheRunningPlayerRefusesIsPlayedByTheStartThatGotIt) {
    const std::string path = SingleInstance::socketPath().toStdString();
    ::unlink(path.c_str());
    const int server = unixSocket(path, true);
    ASSERT_GE(server, 0);
    std::thread refuser([server] {
        const int client = ::accept(server, nullptr, nullptr);
        char header[handover::kHeaderSize];
        [[maybe_unused]] ssize_t n = ::read(client, header, sizeof header);
        [[maybe_unused]] ssize_t w = ::write(client, "REFUSED", 7);
        ::close(client);
    });
    SingleInstance start;
    EXPECT_EQ(start.start({"/m/a.avi"}), SingleInstance::Role::Alone);
    refuser.join();
    ::close(server);
    ::unlink(path.c_str());
}
