#include "settings/server_settings.h"

#include "settings/registry_operations.h"
#include "settings/setting_keys.h"

#include <utility>

namespace voltwise {

namespace {

constexpr std::pair<const SettingKey *, QUrl ServerUrls::*> kServers[] = {
    {&SettingKeys::GridMain, &ServerUrls::gridMain},
    {&SettingKeys::GridContent, &ServerUrls::gridContent},
    {&SettingKeys::Maker, &ServerUrls::maker},
};

} // namespace

std::optional<QUrl> ServerUrlFromText(const QString &text)
{
    const QUrl parsed(text.trimmed(), QUrl::StrictMode);
    if (!parsed.isValid() || parsed.host().isEmpty())
        return std::nullopt;
    const QString scheme = parsed.scheme();
    if (scheme != u"http" && scheme != u"https")
        return std::nullopt;
    QUrl base;
    base.setScheme(scheme);
    base.setHost(parsed.host());
    base.setPort(parsed.port());
    return base;
}

ServerUrls LoadServerUrls(const RegistryBackend &store)
{
    const QHash<QString, QString> stored = GetSettings(store, kApplicationTitle, kServersSection);
    ServerUrls urls;
    for (const auto &[key, member] : kServers) {
        urls.*member =
            ServerUrlFromText(stored.value(key->name)).value_or(QUrl(QString(key->defaultText)));
    }
    return urls;
}

bool SaveServerUrls(RegistryBackend &store, const ServerUrls &urls)
{
    RegistryStringValues values;
    for (const auto &[key, member] : kServers)
        values.append({key->name, (urls.*member).toString()});
    return SaveSettings(store, kApplicationTitle, kServersSection, values);
}

} // namespace voltwise
