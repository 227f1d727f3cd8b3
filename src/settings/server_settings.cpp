#include "settings/server_settings.h"

#include "settings/registry_operations.h"
#include "settings/settings_names.h"

namespace voltwise {

namespace {

QUrl LoadServerUrl(const RegistryBackend &store, const QString &key, const QUrl &defaultUrl)
{
    const QString stored = GetSetting(store, kApplicationTitle, kServersSection, key, QString());
    return ServerUrlFromText(stored).value_or(defaultUrl);
}

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
    const ServerUrls defaults = ServerUrls::defaults();
    const QString feeds =
        GetSetting(store, kApplicationTitle, kServersSection, u"Feeds"_qs, QString());
    return {LoadServerUrl(store, u"GridMain"_qs, defaults.gridMain),
            LoadServerUrl(store, u"GridContent"_qs, defaults.gridContent),
            LoadServerUrl(store, u"Maker"_qs, defaults.maker),
            LoadServerUrl(store, u"FlexAlerts"_qs, defaults.flexAlerts),
            FeedSourceFromText(feeds).value_or(defaults.feeds)};
}

bool SaveServerUrls(RegistryBackend &store, const ServerUrls &urls)
{
    return SaveSettings(store, kApplicationTitle, kServersSection,
                        {
                            {u"GridMain"_qs, urls.gridMain.toString()},
                            {u"GridContent"_qs, urls.gridContent.toString()},
                            {u"Maker"_qs, urls.maker.toString()},
                            {u"FlexAlerts"_qs, urls.flexAlerts.toString()},
                            {u"Feeds"_qs, FeedSourceText(urls.feeds)},
                        });
}

} // namespace voltwise
