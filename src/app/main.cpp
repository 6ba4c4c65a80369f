// Orvalis: start-up, single instance and the life of the process.
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <clocale>
#include <csignal>
#include <cstdio>

#include "app/AppPaths.h"
#include "app/CoverArt.h"
#include "app/DbusDesktopServices.h"
#include "app/IniSettingsStore.h"
#include "app/MprisService.h"
#include "app/QtPrompter.h"
#include "app/QtTranslations.h"
#include "app/SettingsKeys.h"
#include "app/SingleInstance.h"
#include "app/Startup.h"
#include "engine/Decoding.h"
#include "engine/MpvBackend.h"
#include "extras/DbusPowerControl.h"
#include "player/MprisPlayer.h"
#include "player/PlayerWindow.h"

namespace {

int signalPipe[2] = {-1, -1};

void onTerminate(int) {
    char c = 1;
    [[maybe_unused]] ssize_t n = ::write(signalPipe[1], &c, 1);
}

// SIGTERM and SIGINT (a logout, Ctrl+C) run the Exit command, so nothing is lost.
void installTerminationHandler(orvalis::PlayerWindow& window) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0) return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window, notifier] {
        char c;
        [[maybe_unused]] ssize_t n = ::read(signalPipe[0], &c, 1);
        notifier->setEnabled(false);
        window.exitPlayer();
    });
    struct sigaction sa {};
    sa.sa_handler = onTerminate;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvalis"));
    QApplication::setOrganizationName(QStringLiteral("Corvane SoftWare"));
    QApplication::setDesktopFileName(QStringLiteral("orvalis"));
    orvalis::installQtTranslations(app);
    // libmpv reads numbers in the C locale; Qt has just set the user's.
    std::setlocale(LC_NUMERIC, "C");

    orvalis::IniSettingsStore settings(orvalis::paths::settingsFile());
    orvalis::writeStartupValues(settings, QCoreApplication::applicationFilePath().toStdString());

    // argv after Qt took its own options: the system's bytes, whatever their encoding.
    const std::vector<std::string> paths = orvalis::commandLinePaths(
        std::vector<std::string>(argv + 1, argv + argc), orvalis::currentFolder());

    orvalis::SingleInstance instance;
    // The paths go to a running instance; their list is also left in Config/ShellFileName,
    // as the player has always done, just before they are handed over.
    auto recordList = [&] {
        if (!paths.empty())
            settings.putString(orvalis::sections::Config, "ShellFileName",
                               orvalis::commandLineList(paths));
    };
    switch (instance.start(paths, recordList)) {
        case orvalis::SingleInstance::Role::HandedOver:
            return 0;
        case orvalis::SingleInstance::Role::Alone:
            std::fprintf(stderr, "Orvalis: no running player took the files; playing here\n");
            break;
        case orvalis::SingleInstance::Role::Primary:
            break;
    }

    orvalis::MpvBackend::Options engineOptions;
    engineOptions.hwdec =
        orvalis::decoding::hwdecOption(orvalis::decoding::hardwareDecoding(settings));
    orvalis::MpvBackend backend(engineOptions);
    if (!backend.isValid()) {
        std::fprintf(stderr, "Orvalis: libmpv could not be started\n");
        return 1;
    }
    orvalis::QtPrompter prompter;
    orvalis::DbusDesktopServices desktop;
    orvalis::DbusPowerControl power;
    orvalis::PlayerWindow window({settings, backend, prompter, desktop, power}, paths);
    prompter.setParent(&window);
    QObject::connect(&instance, &orvalis::SingleInstance::listReceived, &window,
                     &orvalis::PlayerWindow::receiveHandOver);
    QObject::connect(&window, &orvalis::PlayerWindow::exited, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    installTerminationHandler(window);
    // Media keys, desktop panels and playerctl: the same commands over the session bus.
    orvalis::cover::CoverArtFiles covers(orvalis::paths::cacheDir());
    orvalis::MprisPlayer mprisPlayer(
        window.controller(), [&window] { window.receiveHandOver({}); }, &covers);
    orvalis::MprisService mpris(mprisPlayer, QDBusConnection::sessionBus());
    mpris.start();
    // The main window may hide while sound plays; the player ends only with Exit.
    QApplication::setQuitOnLastWindowClosed(false);
    window.start();
    const int rc = app.exec();
    // A scheduled power-off is on its way to the system: let it arrive before the end.
    orvalis::finishPowerOff(power);
    return rc;
}
