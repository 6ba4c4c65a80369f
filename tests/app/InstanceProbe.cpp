// A process that takes part in the single-instance hand-over exactly as the player does,
// and reports what happened on standard output:
//   instance_probe <wait-ms> <expected-lists> [files...]
// Each list received is one line "GOT:" with its paths joined by "|", bytes as they came.
#include <QCoreApplication>
#include <QTimer>
#include <cstdio>
#include <string>

#include "app/SingleInstance.h"
#include "base/Startup.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 3) return 2;
    const int waitMs = std::atoi(argv[1]);
    int expected = std::atoi(argv[2]);
    const std::vector<std::string> paths = orvalis::commandLinePaths(
        std::vector<std::string>(argv + 3, argv + argc), orvalis::currentFolder());

    orvalis::SingleInstance instance;
    switch (instance.start(paths)) {
        case orvalis::SingleInstance::Role::HandedOver:
            std::printf("HANDED\n");
            return 0;
        case orvalis::SingleInstance::Role::Alone:
            std::printf("ALONE\n");
            return 0;
        case orvalis::SingleInstance::Role::Primary:
            std::printf("PRIMARY\n");
            std::fflush(stdout);
            break;
    }
    QObject::connect(&instance, &orvalis::SingleInstance::listReceived,
                     [&](const std::vector<std::string>& got) {
                         std::string line = "GOT:";
                         for (const auto& path : got)
                             line += (&path == got.data() ? "" : "|") + path;
                         std::printf("%s\n", line.c_str());
                         std::fflush(stdout);
                         if (--expected <= 0) QCoreApplication::quit();
                     });
    if (expected <= 0) return 0;
    QTimer::singleShot(waitMs, &app, &QCoreApplication::quit);
    return app.exec();
}
