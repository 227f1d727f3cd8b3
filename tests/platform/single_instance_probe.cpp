// Runs as one "program instance" for the single-instance test: becomes the
// running instance and reports hand-overs, or hands over and ends.
#include "platform/single_instance.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    voltwise::SingleInstance instance(args.at(1), args.at(2));
    if (!instance.tryBecomePrimary()) {
        const bool ok = instance.activatePrimary();
        std::printf(ok ? "handed over\n" : "hand-over failed\n");
        return ok ? 0 : 1;
    }
    std::printf("primary\n");
    std::fflush(stdout);
    QObject::connect(&instance, &voltwise::SingleInstance::activationRequested, &app, [] {
        std::printf("activated\n");
        std::fflush(stdout);
    });
    QTimer::singleShot(60000, &app, &QCoreApplication::quit); // should the test not end it
    return app.exec();
}
