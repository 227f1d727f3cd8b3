#pragma once

#include "settings/registry_backend.h"
#include "settings/setting_keys.h"
#include "status/notice_style.h"

#include <QLocale>
#include <QMap>
#include <QString>

namespace voltwise {

// The user's settings of section "Settings", held in memory while the program
// runs. Members start at the defaults of a first run.
struct AppSettings
{
    bool AlwaysOnTop = SettingKeys::AlwaysOnTop.defaultBoolean();
    bool AutoCheck = SettingKeys::AutoCheck.defaultBoolean();
    bool AutoUpdate = SettingKeys::AutoUpdate.defaultBoolean();
    bool CAISOGraph = SettingKeys::CAISOGraph.defaultBoolean();
    qint32 GraphValues = SettingKeys::GraphValues.defaultNumber();
    bool PlaySound = SettingKeys::PlaySound.defaultBoolean();
    bool ShowAtStartup = SettingKeys::ShowAtStartup.defaultBoolean();
    bool ShowDetails = SettingKeys::ShowDetails.defaultBoolean();
    qint32 UpdateInterval = SettingKeys::UpdateInterval.defaultNumber();
    voltwise::NoticeStyle NoticeStyle = NoticeStyleFromText(SettingKeys::NoticeStyle.defaultText);
};

// The minutes between refreshes for a stored "UpdateInterval": values above
// 10000 are divided by 10000 (the remainder dropped); anything that does not
// convert or comes out below 1 gives the default 3.
qint32 UpdateIntervalFromText(const QString &stored, const QLocale &locale);

// Every member as it is stored, by key name.
QMap<QString, QString> AppSettingsTexts(const AppSettings &settings);

// Every setting of the table, each with its default when it is missing or
// does not convert; one read of the store.
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
