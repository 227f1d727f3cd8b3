// Saves a block of settings over and over, for the durability tests:
// settings_writer <config dir> <key prefix> <key count> <rounds, 0 for ever>
// Round n writes the value "n:<filler>" to every key in one save, once it has
// found every key still holding round n - 1 (exit status 3 otherwise: another
// writer's save lost this one's).

#include "settings/qsettings_registry.h"
#include "settings/registry_operations.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

using namespace voltwise;
using namespace std::chrono_literals;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5)
        return 2;
    // Writers saving without pause rarely yield the lock: on a busy machine one
    // can wait beyond the program's two seconds, which would refuse its save.
    QSettingsRegistryBackend store({args.at(1), {}}, 120s);
    const QString prefix = args.at(2);
    const int keyCount = args.at(3).toInt();
    const qint64 rounds = args.at(4).toLongLong();
    const QString filler(200, u'x');

    for (qint64 round = 0; rounds == 0 || round < rounds; ++round) {
        const QHash<QString, QString> found = GetSettings(store, {}, u"Settings"_qs);
        RegistryStringValues values;
        const QString value = QString::number(round) + u':' + filler;
        const QString previous = QString::number(round - 1) + u':' + filler;
        for (int k = 0; k < keyCount; ++k) {
            values.append({prefix + QString::number(k), value});
            if (round > 0 && found.value(values.last().first) != previous)
                return 3;
        }
        if (!SaveSettings(store, {}, u"Settings"_qs, values))
            return 1;
        if (round == 0) {
            std::puts("saving");
            std::fflush(stdout);
        }
    }
    return 0;
}
