#pragma once

#include "settings/registry_backend.h"

#include <QLocale>
#include <QString>

namespace voltwise {

// The user's settings of section "Settings", held in memory while the program
// runs. Members start at the defaults of a first run.
struct AppSettings
{
    bool AlwaysOnTop = false;
    bool AutoCheck = true;
    bool AutoUpdate = true;
    bool CAISOGraph = false;
    qint32 GraphValues = 15; // one bit per chart series
    bool PlaySound = true;
    bool ShowAtStartup = true;
    bool ShowDetails = true;
    qint32 UpdateInterval = 3; // minutes between automatic refreshes, at least 1
};

// The minutes between refreshes for a stored "UpdateInterval": values above
// 10000 are divided by 10000 (the remainder dropped); anything that does not
// convert or comes out below 1 gives the default 3.
qint32 UpdateIntervalFromText(const QString &stored, const QLocale &locale);

// Every setting of the table, each with its default when it is missing or
// does not convert.
AppSettings LoadAppSettings(const RegistryBackend &store,
                            const QLocale &locale = QLocale::system());

// What the main window writes when it closes: "AlwaysOnTop", "AutoCheck",
// "AutoUpdate", "GraphValues", "PlaySound", "ShowAtStartup", "ShowDetails",
// "UpdateInterval", in one write.
bool SaveMainWindowSettings(RegistryBackend &store, const AppSettings &settings);

// What the options dialog writes when it closes: "AutoCheck", "CAISOGraph",
// "UpdateInterval", "PlaySound", "ShowAtStartup", in one write.
bool SaveOptionsSettings(RegistryBackend &store, const AppSettings &settings);

} // namespace voltwise
