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

ServerUrls LoadServerUrls(const RegistryBackend &store)
{
    const ServerUrls defaults = ServerUrls::defaults();
    return {LoadServerUrl(store, u"GridMain"_qs, defaults.gridMain),
            LoadServerUrl(store, u"GridContent"_qs, defaults.gridContent),
            LoadServerUrl(store, u"Maker"_qs, defaults.maker),
            LoadServerUrl(store, u"PGE"_qs, defaults.pge),
            LoadServerUrl(store, u"SCE"_qs, defaults.sce),
            LoadServerUrl(store, u"SDGE"_qs, defaults.sdge),
            LoadServerUrl(store, u"SDGEBlackout"_qs, defaults.sdgeBlackout)};
}

bool SaveServerUrls(RegistryBackend &store, const ServerUrls &urls)
{
    return SaveSettings(store, kApplicationTitle, kServersSection,
                        {
                            {u"GridMain"_qs, urls.gridMain.toString()},
                            {u"GridContent"_qs, urls.gridContent.toString()},
                            {u"Maker"_qs, urls.maker.toString()},
                            {u"PGE"_qs, urls.pge.toString()},
                            {u"SCE"_qs, urls.sce.toString()},
                            {u"SDGE"_qs, urls.sdge.toString()},
                            {u"SDGEBlackout"_qs, urls.sdgeBlackout.toString()},
                        });
}

} // namespace voltwise
