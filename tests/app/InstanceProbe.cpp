// A process that takes part in the single-instance hand-over exactly as the player does,
// and reports what happened on standard output:
//   instance_probe <wait-ms> <expected-lists> [files...]
#include <QCoreApplication>
#include <QDir>
#include <QTimer>
#include <cstdio>

#include "app/SingleInstance.h"
#include "app/Startup.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 3) return 2;
    const int waitMs = std::atoi(argv[1]);
    int expected = std::atoi(argv[2]);
    std::vector<std::string> files(argv + 3, argv + argc);
    const std::string list = orvalis::buildCommandLineList(files, QDir::currentPath().toStdString());

    orvalis::SingleInstance instance;
    switch (instance.start(list)) {
        case orvalis::SingleInstance::Role::HandedOver:
            std::printf("HANDED\n");
            return 0;
        case orvalis::SingleInstance::Role::Failed:
            std::printf("FAILED\n");
            return 1;
        case orvalis::SingleInstance::Role::Primary:
            std::printf("PRIMARY\n");
            std::fflush(stdout);
            break;
    }
    QObject::connect(&instance, &orvalis::SingleInstance::listReceived, [&](const QString& got) {
        std::printf("GOT:%s\n", got.toUtf8().constData());
        std::fflush(stdout);
        if (--expected <= 0) QCoreApplication::quit();
    });
    if (expected <= 0) return 0;
    QTimer::singleShot(waitMs, &app, &QCoreApplication::quit);
    return app.exec();
}
