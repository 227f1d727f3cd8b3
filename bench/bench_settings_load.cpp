#include "settings/app_settings.h"
#include "settings/qsettings_registry.h"
#include "settings/registry_operations.h"
#include "settings/server_settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace voltwise;

namespace {

// A configuration file as a long-used installation has it.
constexpr char kConfFile[] =
    "[Servers]\nGridContent=http://content.caiso.com\n"
    "GridMain=http://www.caiso.com\nMaker=http://www.ternwood.example\n\n"
    "[Settings]\nAlwaysOnTop=False\nAutoCheck=True\nAutoUpdate=True\n"
    "CAISOGraph=False\nGraphValues=15\nPlaySound=True\n"
    "ShowAtStartup=True\nShowDetails=True\nSkipVersion=2.0.9\n"
    "UpdateInterval=3\n\n[WindowSettings]\nfrmMain=\"1440,1080,7500,5400,0\"\n";

struct ConfDirectory
{
    QTemporaryDir dir;
    QSettingsRegistryBackend store{{dir.path(), {}}};

    ConfDirectory()
    {
        QDir().mkpath(dir.filePath(u"Ternwood"_qs));
        QFile file(dir.filePath(u"Ternwood/Voltwise.conf"_qs));
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(kConfFile) != qint64(sizeof kConfFile - 1))
            qFatal("cannot write the configuration file");
    }
};

// What the main window's load step reads.
void BM_LoadAppSettings(benchmark::State &state)
{
    ConfDirectory conf;
    const QLocale locale = QLocale::c();
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadAppSettings(conf.store, locale));
}

// Everything the program reads at start: the settings, the servers, the placement.
void BM_LoadAllSettings(benchmark::State &state)
{
    ConfDirectory conf;
    const QLocale locale = QLocale::c();
    for (auto _ : state) {
        benchmark::DoNotOptimize(LoadAppSettings(conf.store, locale));
        benchmark::DoNotOptimize(LoadServerUrls(conf.store));
        benchmark::DoNotOptimize(
            GetSetting(conf.store, {}, u"WindowSettings"_qs, u"frmMain"_qs, QString()));
    }
}

// What the main window writes when it closes.
void BM_SaveMainWindowSettings(benchmark::State &state)
{
    ConfDirectory conf;
    AppSettings settings;
    for (auto _ : state) {
        settings.PlaySound = !settings.PlaySound;
        benchmark::DoNotOptimize(SaveMainWindowSettings(conf.store, settings));
    }
}

} // namespace

BENCHMARK(BM_LoadAppSettings)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadAllSettings)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveMainWindowSettings)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
