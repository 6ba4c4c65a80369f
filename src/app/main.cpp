// Orvalis: the command line, one instance per user, and the program's assembly.
#include <QApplication>
#include <QDir>
#include <clocale>
#include <cstdio>

#include "app/AppPaths.h"
#include "app/Assembly.h"
#include "app/IniSettingsStore.h"
#include "app/SettingsKeys.h"
#include "app/SingleInstance.h"
#include "app/Startup.h"
#include "app/StartupTrace.h"

int main(int argc, char** argv) {
    orvalis::startupMark("main");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvalis"));
    QApplication::setOrganizationName(QStringLiteral("Corvane SoftWare"));
    QApplication::setDesktopFileName(QStringLiteral("orvalis"));
    // libmpv reads numbers in the C locale; Qt has just set the user's.
    std::setlocale(LC_NUMERIC, "C");
    orvalis::startupMark("application object");

    orvalis::IniSettingsStore settings(orvalis::paths::settingsFile());
    orvalis::writeStartupValues(settings, QCoreApplication::applicationFilePath().toStdString());

    std::vector<std::string> args;
    const QStringList arguments = QCoreApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) args.push_back(arguments[i].toStdString());
    const std::string list = orvalis::buildCommandLineList(args, QDir::currentPath().toStdString());

    orvalis::SingleInstance instance;
    // The list goes to a running instance; it is also left in Config/ShellFileName, as
    // the player has always done, just before it is handed over.
    auto recordList = [&] {
        if (!list.empty()) settings.putString(orvalis::sections::Config, "ShellFileName", list);
    };
    switch (instance.start(list, recordList)) {
        case orvalis::SingleInstance::Role::HandedOver:
            return 0;
        case orvalis::SingleInstance::Role::Failed:
            std::fprintf(stderr, "Orvalis: could not reach the running player or become it\n");
            return 1;
        case orvalis::SingleInstance::Role::Primary:
            break;
    }
    orvalis::startupMark("single instance");

    orvalis::Assembly assembly(settings, list);
    return assembly.run(instance);
}
