// The built player run as a user runs it, on the test display, each run in a home of its own:
// a second start hands its file to the first, SIGTERM runs Exit (the settings are written,
// the exit code is 0), and a medium playing is torn down cleanly. The program runs with the
// sanitizers of this build, so a crash or a use after free on the way out fails the run.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

#include "support/TestSupport.h"

namespace orvalis {
namespace {

using test::waitUntil;

class Player {
public:
    explicit Player(const QString& home) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", home);
        for (const char* var : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME",
                                "XDG_STATE_HOME", "XDG_RUNTIME_DIR"}) {
            const QString dir = home + "/" + QString(var).toLower();
            QDir().mkpath(dir);
            QFile::setPermissions(
                dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
            env.insert(var, dir);
        }
        env.remove("XDG_DATA_DIRS");
        for (const char* bus : {"DBUS_SESSION_BUS_ADDRESS", "DBUS_SYSTEM_BUS_ADDRESS"})
            env.insert(bus, "unix:path=" + home + "/no-bus");
        // Leaks are the unit tests' to find: the program unloads the OpenGL driver and the
        // sound plugins before it ends, so a leak inside them would be reported without a name
        // to tell it from ours. Every other fault of the sanitizers still ends the run.
        env.insert("ASAN_OPTIONS", "detect_leaks=0");
        env.insert("UBSAN_OPTIONS", "print_stacktrace=1:halt_on_error=1");
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::MergedChannels);
        home_ = home;
    }
    ~Player() {
        if (process_.state() == QProcess::NotRunning) return;
        process_.kill();
        process_.waitForFinished(5000);
    }

    void start(const QStringList& args) { process_.start(ORVALIS_BINARY_DIR "/orvalis", args); }
    // The player answers on its instance socket once its window is up.
    bool serving() {
        return waitUntil([&] { return QFileInfo::exists(path("xdg_runtime_dir/orvalis.sock")); },
                         30000);
    }
    bool running() const { return process_.state() == QProcess::Running; }
    void terminate() { ::kill(pid_t(process_.processId()), SIGTERM); }
    // Waits for the end; the exit code, or -1 for a crash or a run that did not end.
    int finish(int ms = 30000) {
        if (!waitUntil([&] { return process_.state() == QProcess::NotRunning; }, ms)) return -1;
        return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    }
    std::string output() { return process_.readAll().toStdString(); }
    QString path(const QString& inHome) const { return home_ + "/" + inHome; }
    std::string settings() const {
        return test::readFile(path("xdg_config_home/Corvane SoftWare/Orvalis.conf").toStdString());
    }
    // Whether a line the player stored under its config and data folders, the hand-over
    // value aside, names text.
    bool stored(const std::string& text) const {
        for (const char* dir : {"xdg_config_home", "xdg_data_home"}) {
            QDirIterator it(path(dir), QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const std::string bytes = test::readFile(it.next().toStdString());
                for (auto at = bytes.find(text); at != std::string::npos;
                     at = bytes.find(text, at + 1))
                    if (bytes.compare(bytes.rfind('\n', at) + 1, 13, "ShellFileName") != 0)
                        return true;
            }
        }
        return false;
    }

private:
    QProcess process_;
    QString home_;
};

QString freshHome(const char* name) {
    return QString::fromStdString(test::freshDir(name));
}
QString media(const char* name) {
    return QString::fromStdString(test::mediaPath(name));
}

TEST(EndToEnd, ASecondStartHandsItsFileToTheRunningPlayer) {
    const QString home = freshHome("e2e-handover");
    Player first(home);
    first.start({media("test/av.mp4")});
    ASSERT_TRUE(first.serving()) << first.output();

    const std::string handed = test::mediaPath("test/audio.mp3");
    Player second(home);
    second.start({QString::fromStdString(handed)});
    EXPECT_EQ(second.finish(), 0) << second.output();
    EXPECT_EQ(second.output().find("no running player"), std::string::npos);
    test::processEventsFor(500);
    ASSERT_TRUE(first.running()) << first.output();

    first.terminate();
    ASSERT_EQ(first.finish(), 0) << first.output();
    // The running player took the file into its list, which it kept on the way out.
    EXPECT_TRUE(first.stored(handed)) << first.settings();
}

TEST(EndToEnd, SigtermWhilePlayingRunsExitAndWritesTheSettings) {
    Player player(freshHome("e2e-sigterm"));
    player.start({media("demo.mp4")});
    ASSERT_TRUE(player.serving()) << player.output();
    test::processEventsFor(2000);  // the medium opened and playing
    ASSERT_TRUE(player.running()) << player.output();
    EXPECT_EQ(player.settings().find("[Screen]"), std::string::npos) << "written before Exit";

    player.terminate();
    ASSERT_EQ(player.finish(), 0) << player.output();
    const std::string after = player.settings();
    EXPECT_NE(after.find("[Screen]"), std::string::npos) << after;
    EXPECT_NE(after.find("Volume="), std::string::npos) << after;
}

}  // namespace
}  // namespace orvalis
