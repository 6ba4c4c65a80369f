#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QLocalSocket>
#include <memory>
#include <thread>

#include "app/SingleInstance.h"
#include "base/HandOver.h"
#include "base/Startup.h"
#include "support/TestSupport.h"

extern char** environ;

using orvalis::SingleInstance;
using orvalis::test::waitUntil;
namespace handover = orvalis::handover;

namespace {

// The probe started with argv bytes exactly as given (names that are not UTF-8 included),
// its standard output collected.
class Probe {
public:
    Probe(int waitMs, int expected, const std::vector<std::string>& files) {
        std::vector<std::string> args = {INSTANCE_PROBE, std::to_string(waitMs),
                                         std::to_string(expected)};
        args.insert(args.end(), files.begin(), files.end());
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        int fds[2];
        if (::pipe(fds) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(fds[1]);
        out_ = fds[0];
    }
    ~Probe() {
        if (pid_ > 0) kill();
        if (out_ >= 0) ::close(out_);
    }

    // Reads until the output holds `what` or the probe has ended.
    bool waitFor(const std::string& what) {
        while (text_.find(what) == std::string::npos)
            if (!readSome()) return false;
        return true;
    }
    bool becamePrimary() { return waitFor("PRIMARY\n"); }
    // Everything the probe wrote, once it has ended.
    std::string finish() {
        while (readSome()) {
        }
        if (pid_ > 0) {
            int status = 0;
            ::waitpid(pid_, &status, 0);
            exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            pid_ = -1;
        }
        return text_;
    }
    int exitCode() const { return exitCode_; }
    void kill() {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    bool readSome() {
        pollfd p{out_, POLLIN, 0};
        if (out_ < 0 || ::poll(&p, 1, 15000) <= 0) return false;
        char buffer[65536];
        const ssize_t n = ::read(out_, buffer, sizeof buffer);
        if (n <= 0) return false;
        text_.append(buffer, static_cast<std::size_t>(n));
        return true;
    }

    pid_t pid_ = -1;
    int out_ = -1;
    int exitCode_ = -1;
    std::string text_;
};

std::unique_ptr<Probe> startProbe(int waitMs, int expected,
                                  const std::vector<std::string>& files = {}) {
    return std::make_unique<Probe>(waitMs, expected, files);
}

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

std::vector<handover::Reader::State> feedInPieces(handover::Reader& reader,
                                                  const std::string& bytes, std::size_t piece) {
    std::vector<handover::Reader::State> states;
    for (std::size_t at = 0; at < bytes.size(); at += piece)
        states.push_back(reader.feed(std::string_view(bytes).substr(at, piece)));
    return states;
}

}  // namespace

TEST(HandOverMessage, PathsArriveWholeInAnyPiecesAndBadHeadersAreNamed) {
    using State = handover::Reader::State;
    const std::vector<std::string> paths = {"/m/a;b.avi", "/m/ lead", "/m/trail ",
                                            "/m/\xc7\xd1\xb1\xdb.avi",
                                            "http://radio.example/live?x=1;y=2"};
    for (std::size_t piece : {std::size_t{1}, std::size_t{5}, std::size_t{4096}}) {
        handover::Reader reader;
        const auto states = feedInPieces(reader, handover::encode(paths), piece);
        EXPECT_EQ(states.back(), State::Done) << piece;
        EXPECT_EQ(reader.paths(), paths) << piece;
    }
    handover::Reader empty;
    EXPECT_EQ(empty.feed(handover::encode({})), State::Done);
    EXPECT_TRUE(empty.paths().empty());

    handover::Reader wrong;
    EXPECT_EQ(wrong.feed("ORVA"), State::NeedMore);
    EXPECT_EQ(wrong.feed("LIS1"), State::Malformed);  // another version's message
    EXPECT_EQ(wrong.feed(handover::encode(paths)), State::Malformed);
    handover::Reader huge;
    EXPECT_EQ(huge.feed(std::string(handover::kMagic) + "\xff\xff\xff\xff"), State::TooLarge);
    // Empty pieces name nothing; a last path without its NUL still counts.
    handover::Reader loose;
    EXPECT_EQ(loose.feed(std::string(handover::kMagic) + std::string("\0\0\0\x07\0/a\0\0/b", 11)),
              State::Done);
    EXPECT_EQ(loose.paths(), (std::vector<std::string>{"/a", "/b"}));
}

TEST(SingleInstance, ASecondStartHandsOverItsFilesAndEnds) {
    auto first = startProbe(10000, 3);
    ASSERT_TRUE(first->becamePrimary());

    auto second = startProbe(0, 0, {"/media/one.avi", "/media/two words.mkv"});
    EXPECT_EQ(second->finish(), "HANDED\n");
    EXPECT_EQ(second->exitCode(), 0);
    auto third = startProbe(0, 0);  // no files: only brings the running player forward
    EXPECT_EQ(third->finish(), "HANDED\n");
    // Names travel whole and as their bytes: ";", blanks at either end, CP949.
    auto fourth = startProbe(0, 0,
                             {"/m/a;b.avi", " lead.avi", "/m/trail.avi ", "/m/\xc7\xd1\xb1\xdb.avi",
                              "file:///m/x%3By%20.avi", "file:///m/%C0%BD.avi"});
    EXPECT_EQ(fourth->finish(), "HANDED\n");

    const std::string cwd = orvalis::currentFolder();
    EXPECT_EQ(first->finish(),
              "PRIMARY\nGOT:/media/one.avi|/media/two words.mkv\nGOT:\n"
              "GOT:/m/a;b.avi|" +
                  cwd +
                  "/ lead.avi|/m/trail.avi |/m/\xc7\xd1\xb1\xdb.avi|"
                  "/m/x;y .avi|/m/\xc0\xbd.avi\n");

    EXPECT_NE(SingleInstance::socketPath().toStdString().find(orvalis::test::privateHome()), std::string::npos);
}

TEST(SingleInstance, AListOfAnyLengthStartsThePlayerAndIsHandedOverWhole) {
    std::vector<std::string> many;
    std::string joined;
    for (int i = 0; i < 900; ++i) {
        many.push_back("/media/a folder with a long name/episode " + std::to_string(1000 + i) +
                       " of a series that has a long title.mkv");
        joined += (i ? "|" : "") + many.back();
    }
    ASSERT_GT(handover::encode(many).size(), 64u * 1024);
    auto first = startProbe(10000, 1, many);
    ASSERT_TRUE(first->becamePrimary());
    auto second = startProbe(0, 0, many);
    EXPECT_EQ(second->finish(), "HANDED\n");
    EXPECT_EQ(first->finish(), "PRIMARY\nGOT:" + joined + "\n");
}

TEST(SingleInstance, SimultaneousStartsGiveExactlyOneInstance) {
    std::vector<std::unique_ptr<Probe>> probes;
    for (int i = 0; i < 5; ++i)
        probes.push_back(startProbe(8000, 4, {"/m/" + std::to_string(i) + ".avi"}));
    int primaries = 0, handed = 0;
    std::string received;
    for (auto& p : probes) {
        std::string out = p->finish();
        if (out.rfind("PRIMARY", 0) == 0) {
            ++primaries;
            received = out;
        } else if (out == "HANDED\n") {
            ++handed;
        }
    }
    EXPECT_EQ(primaries, 1);
    EXPECT_EQ(handed, 4);
    std::size_t got = 0;
    for (std::size_t at = 0; (at = received.find("GOT:/m/", at)) != std::string::npos; ++at) ++got;
    EXPECT_EQ(got, 4u);
}

TEST(SingleInstance, ASocketLeftByADeadInstanceIsTakenOver) {
    auto dead = startProbe(30000, 1);
    ASSERT_TRUE(dead->becamePrimary());
    dead->kill();  // no chance to clean up: the socket file stays
    struct stat st {};
    ASSERT_EQ(::stat(SingleInstance::socketPath().toUtf8().constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 077, 0u) << "the socket must be reachable by its user only";

    auto next = startProbe(0, 0, {"/m/a.avi"});
    EXPECT_EQ(next->finish(), "PRIMARY\n");
}

TEST(SingleInstance, GarbageFromAClientLeavesTheRunningPlayerServing) {
    auto first = startProbe(10000, 1);
    ASSERT_TRUE(first->becamePrimary());
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
    auto next = startProbe(0, 0, {"/m/after.avi"});
    EXPECT_EQ(next->finish(), "HANDED\n");
    EXPECT_EQ(first->finish(), "PRIMARY\nGOT:/m/after.avi\n");
}

// Only the user reaches the socket, and a local client that floods it, or connects and says
// nothing, neither stops nor holds up the running player.
TEST(SingleInstance, TheSocketIsTheUsersAndNoClientHoldsThePlayerUp) {
    // A runtime folder that is not there yet is made for the user alone.
    const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
    const std::string runtime = orvalis::test::freshDir("runtime") + "/made";
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime));
    auto first = startProbe(20000, 1);
    ASSERT_TRUE(first->becamePrimary());
    const std::string socket = SingleInstance::socketPath().toStdString();
    ASSERT_EQ(socket.rfind(runtime, 0), 0u) << socket;
    struct stat st {};
    ASSERT_EQ(::stat(socket.c_str(), &st), 0);
    EXPECT_TRUE(S_ISSOCK(st.st_mode));
    EXPECT_EQ(st.st_mode & 077, 0u) << std::oct << st.st_mode;
    ASSERT_EQ(::stat(runtime.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 077, 0u) << std::oct << st.st_mode;

    QLocalSocket silent;  // connects and never writes
    silent.connectToServer(SingleInstance::socketPath());
    ASSERT_TRUE(silent.waitForConnected(2000));
    // 100 MB that are no hand-over, written as fast as the player lets them in.
    std::thread flood([&] {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::copy(socket.begin(), socket.end(), address.sun_path);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
            const std::string chunk(1 << 20, 'x');
            for (int i = 0; i < 100; ++i)
                if (::send(fd, chunk.data(), chunk.size(), MSG_NOSIGNAL) < 0) break;
        }
        ::close(fd);
    });
    auto next = startProbe(0, 0, {"/m/after.avi"});
    EXPECT_EQ(next->finish(), "HANDED\n");
    flood.join();
    EXPECT_EQ(first->finish(), "PRIMARY\nGOT:/m/after.avi\n");
    qputenv("XDG_RUNTIME_DIR", oldRuntime);
}

// A running player that will not take the list (a message too large for it, or a stuck
// one): the start that was given the files plays them itself.
TEST(SingleInstance, AListTheRunningPlayerRefusesIsPlayedByTheStartThatGotIt) {
    const std::string path = SingleInstance::socketPath().toStdString();
    ::unlink(path.c_str());
    const int server = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(path.size(), sizeof address.sun_path);
    std::copy(path.begin(), path.end(), address.sun_path);
    ASSERT_EQ(::bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(server, 4), 0);
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
