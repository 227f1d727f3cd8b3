#include "settings/registry_operations.h"

#include "core/text_helpers.h"
#include "settings/settings_names.h"

namespace voltwise {

namespace {

QString ValueName(const QString &key)
{
    return key == u"*" ? QString() : key;
}

} // namespace

QString SettingsKeyPath(const QString &appName, const QString &section)
{
    QString path = u"Software\\Ternwood\\"_qs + (appName.isEmpty() ? kApplicationTitle : appName);
    if (!section.isEmpty())
        path += u'\\' + section;
    return path;
}

QString GetSetting(const RegistryBackend &store, const QString &appName, const QString &section,
                   const QString &key, const QString &defaultValue)
{
    const std::optional<QVariant> stored =
        store.value(RegistryRoot::CurrentUser, SettingsKeyPath(appName, section), ValueName(key));
    if (!stored)
        return defaultValue;
    const QString text = CutAtNul(stored->toString());
    return text.isEmpty() ? defaultValue : text;
}

QHash<QString, QString> GetSettings(const RegistryBackend &store, const QString &appName,
                                    const QString &section)
{
    QHash<QString, QString> texts;
    const std::optional<QList<RegistryValue>> stored =
        store.values(RegistryRoot::CurrentUser, SettingsKeyPath(appName, section));
    for (const RegistryValue &value : stored.value_or(QList<RegistryValue>())) {
        const QString text = CutAtNul(value.data.toString());
        if (!text.isEmpty())
            texts.insert(value.name, text);
    }
    return texts;
}

bool SaveSetting(RegistryBackend &store, const QString &appName, const QString &section,
                 const QString &key, const QString &value)
{
    return SaveSettings(store, appName, section, {{key, value}});
}

bool SaveSettings(RegistryBackend &store, const QString &appName, const QString &section,
                  const RegistryStringValues &values)
{
    RegistryStringValues named;
    for (const auto &[key, value] : values)
        named.append({ValueName(key), value});
    return store.setStringValues(RegistryRoot::CurrentUser, SettingsKeyPath(appName, section),
                                 named);
}

bool DeleteSetting(RegistryBackend &store, const QString &appName, const QString &section,
                   const QString &key)
{
    if (!key.isEmpty()) {
        return store.deleteValue(RegistryRoot::CurrentUser, SettingsKeyPath(appName, section),
                                 ValueName(key));
    }
    // Without a section this would name the application's whole tree.
    if (section.isEmpty())
        return false;
    return store.deleteKey(RegistryRoot::CurrentUser,
                           SettingsKeyPath(appName, QString()) + u'\\' + section);
}

QString GetSetting(const RegistryBackend &store, const SettingKey &key, const QString &defaultValue)
{
    return GetSetting(store, kApplicationTitle, key.section, key.name, defaultValue);
}

bool SaveSetting(RegistryBackend &store, const SettingKey &key, const QString &value)
{
    return SaveSetting(store, kApplicationTitle, key.section, key.name, value);
}

bool DeleteSetting(RegistryBackend &store, const SettingKey &key)
{
    return DeleteSetting(store, kApplicationTitle, key.section, key.name);
}

bool RegKeyExists(const RegistryBackend &store, RegistryRoot root, const QString &path)
{
    return store.keyExists(root, path);
}

bool RegEnumSubKeys(const RegistryBackend &store, RegistryRoot root, const QString &path,
                    QStringList &names)
{
    const std::optional<QStringList> found = store.subKeyNames(root, path);
    if (!found)
        return false;
    names.clear();
    for (const QString &name : *found)
        names.append(CutAtNul(name));
    return !names.isEmpty();
}

bool RegEnumStringValues(const RegistryBackend &store, RegistryRoot root, const QString &path,
                         QStringList &names, QStringList &data)
{
    const std::optional<QList<RegistryValue>> found = store.values(root, path);
    if (!found)
        return false;
    for (const RegistryValue &value : *found) {
        if (value.data.typeId() != QMetaType::QString)
            continue;
        names.append(CutAtNul(value.name));
        data.append(CutAtNul(value.data.toString()));
    }
    return true;
}

bool RegGetValue(const RegistryBackend &store, RegistryRoot root, const QString &path,
                 const QString &valueName, QVariant &data)
{
    const std::optional<QVariant> found = store.value(root, path, valueName);
    if (!found)
        return false;
    data = *found;
    return true;
}

bool RegSetStringValue(RegistryBackend &store, RegistryRoot root, const QString &path,
                       const QString &valueName, const QString &value)
{
    return store.setStringValues(root, path, {{valueName, value}});
}

bool RegDeleteValue(RegistryBackend &store, RegistryRoot root, const QString &path,
                    const QString &valueName)
{
    return store.deleteValue(root, path, valueName);
}

void ImportLegacySettings(RegistryBackend &store, QString &appName, bool force)
{
    if (appName.isEmpty())
        appName = kApplicationTitle;
    if (!force && RegKeyExists(store, RegistryRoot::CurrentUser, SettingsKeyPath(appName, {})))
        return;

    const QString legacyKey = kLegacySettingsRoot + u'\\' + appName;
    QStringList sections;
    if (!RegKeyExists(store, RegistryRoot::CurrentUser, legacyKey) ||
        !RegEnumSubKeys(store, RegistryRoot::CurrentUser, legacyKey, sections)) {
        return;
    }
    for (const QString &section : sections) {
        QStringList names;
        QStringList data;
        if (!RegEnumStringValues(store, RegistryRoot::CurrentUser, legacyKey + u'\\' + section,
                                 names, data)) {
            continue;
        }
        RegistryStringValues values;
        for (qsizetype i = 0; i < names.size(); ++i)
            values.append({names.at(i), data.at(i)});
        // Names are copied as they are; SaveSetting would read a name "*" as the unnamed value.
        store.setStringValues(RegistryRoot::CurrentUser, SettingsKeyPath(appName, section), values);
    }
}

} // namespace voltwise
