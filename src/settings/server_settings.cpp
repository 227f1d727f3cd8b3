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
    {&SettingKeys::FlexAlerts, &ServerUrls::flexAlerts},
    {&SettingKeys::Pge, &ServerUrls::pge},
    {&SettingKeys::Sce, &ServerUrls::sce},
    {&SettingKeys::Sdge, &ServerUrls::sdge},
    {&SettingKeys::SdgeBlackout, &ServerUrls::sdgeBlackout},
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

std::optional<FeedSource> FeedSourceFromText(const QString &text)
{
    const QString name = text.trimmed().toLower();
    if (name == u"current")
        return FeedSource::Current;
    if (name == u"classic")
        return FeedSource::Classic;
    return std::nullopt;
}

QString FeedSourceText(FeedSource feeds)
{
    return feeds == FeedSource::Classic ? u"classic"_qs : u"current"_qs;
}

ServerUrls LoadServerUrls(const RegistryBackend &store)
{
    const QHash<QString, QString> stored = GetSettings(store, kApplicationTitle, kServersSection);
    ServerUrls urls;
    for (const auto &[key, member] : kServers) {
        urls.*member =
            ServerUrlFromText(stored.value(key->name)).value_or(QUrl(QString(key->defaultText)));
    }
    const SettingKey &feeds = SettingKeys::Feeds;
    urls.feeds = FeedSourceFromText(stored.value(feeds.name))
                     .value_or(*FeedSourceFromText(feeds.defaultText));
    return urls;
}

bool SaveServerUrls(RegistryBackend &store, const ServerUrls &urls)
{
    RegistryStringValues values;
    for (const auto &[key, member] : kServers)
        values.append({key->name, (urls.*member).toString()});
    values.append({SettingKeys::Feeds.name, FeedSourceText(urls.feeds)});
    return SaveSettings(store, kApplicationTitle, kServersSection, values);
}

} // namespace voltwise
