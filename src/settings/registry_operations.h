#pragma once

#include "settings/registry_backend.h"
#include "settings/setting_keys.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace voltwise {

// The settings operations of the program over a store. An empty application
// name stands for the application title. In GetSetting, SaveSetting and
// DeleteSetting the key "*" names the section's unnamed value.

// "Software\Ternwood\<app>", then "\<section>" when the section is not empty.
QString SettingsKeyPath(const QString &appName, const QString &section);

// The stored text up to its first NUL, or defaultValue when the value is
// missing, empty or cannot be read.
QString GetSetting(const RegistryBackend &store, const QString &appName, const QString &section,
                   const QString &key, const QString &defaultValue);

// Every value of a section in one read, each as GetSetting gives it: the text
// up to its first NUL. Empty texts are left out, so that they too read as
// the caller's default. Empty when the section is missing or unreadable.
QHash<QString, QString> GetSettings(const RegistryBackend &store, const QString &appName,
                                    const QString &section);

// Creates the section when missing; true when the value was written.
bool SaveSetting(RegistryBackend &store, const QString &appName, const QString &section,
                 const QString &key, const QString &value);

// Several values of one section in one write: all of them are stored or none.
bool SaveSettings(RegistryBackend &store, const QString &appName, const QString &section,
                  const RegistryStringValues &values);

// Deletes one value, or with an empty key the whole section; true when done.
bool DeleteSetting(RegistryBackend &store, const QString &appName, const QString &section,
                   const QString &key);

// The same for a key of the table, under the application title.
QString GetSetting(const RegistryBackend &store, const SettingKey &key,
                   const QString &defaultValue);
bool SaveSetting(RegistryBackend &store, const SettingKey &key, const QString &value);
bool DeleteSetting(RegistryBackend &store, const SettingKey &key);

// True when the key can be opened for reading.
bool RegKeyExists(const RegistryBackend &store, RegistryRoot root, const QString &path);

// Replaces names by the key's subkeys; true when there is at least one.
bool RegEnumSubKeys(const RegistryBackend &store, RegistryRoot root, const QString &path,
                    QStringList &names);

// Appends the names and texts of the key's text values, skipping values of
// other types; true when the key could be read.
bool RegEnumStringValues(const RegistryBackend &store, RegistryRoot root, const QString &path,
                         QStringList &names, QStringList &data);

// The value's data: QString, qint32 or QByteArray. The unnamed value is "".
bool RegGetValue(const RegistryBackend &store, RegistryRoot root, const QString &path,
                 const QString &valueName, QVariant &data);

// Creates the key when missing; true when the value was written.
bool RegSetStringValue(RegistryBackend &store, RegistryRoot root, const QString &path,
                       const QString &valueName, const QString &value);

// True when the value existed and was deleted.
bool RegDeleteValue(RegistryBackend &store, RegistryRoot root, const QString &path,
                    const QString &valueName);

// Copies every text value of every section under the legacy key into the
// current settings, unless the current key exists and force is false. An
// empty appName becomes the application title and is handed back.
void ImportLegacySettings(RegistryBackend &store, QString &appName, bool force);

} // namespace voltwise
