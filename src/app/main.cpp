// Orvalis: the command line, one instance per user, and the program's assembly.
#include <QApplication>
#include <clocale>
#include <cstdio>
#include <iostream>

#include "app/Assembly.h"
#include "app/QtTranslations.h"
#include "app/SingleInstance.h"
#include "app/StartupTrace.h"
#include "base/AppPaths.h"
#include "base/IniSettingsStore.h"
#include "base/SettingsKeys.h"
#include "base/Startup.h"
#include "captions/CaptionCommands.h"

int main(int argc, char** argv) {
    // The caption commands work on files alone: no window, no running player.
    if (std::optional<int> status = orvalis::runCaptionCommand(
            std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr))
        return *status;
    orvalis::startupMark("main");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvalis"));
    QApplication::setOrganizationName(QStringLiteral("Corvane SoftWare"));
    QApplication::setDesktopFileName(QStringLiteral("orvalis"));
    orvalis::installQtTranslations(app);
    // libmpv reads numbers in the C locale; Qt has just set the user's.
    std::setlocale(LC_NUMERIC, "C");
    orvalis::startupMark("application object");

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
            orvalis::settings::put(settings, orvalis::keys::ShellFileName,
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
    orvalis::startupMark("single instance");

    orvalis::Assembly assembly(settings, paths);
    return assembly.run(instance);
}
