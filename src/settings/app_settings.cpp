#include "settings/app_settings.h"

#include "settings/registry_operations.h"
#include "settings/settings_conversions.h"
#include "settings/settings_names.h"

namespace voltwise {

namespace {

constexpr qint32 kUpdateIntervalScale = 10000;

class SettingsReader
{
public:
    SettingsReader(const RegistryBackend &store, const QLocale &locale)
        : m_store(store)
        , m_locale(locale)
    {}

    QString text(const QString &key) const
    {
        return GetSetting(m_store, kApplicationTitle, kSettingsSection, key, QString());
    }

    bool boolean(const QString &key, bool defaultValue) const
    {
        return TextToBoolean(text(key), m_locale).value_or(defaultValue);
    }

    qint32 wholeNumber(const QString &key, qint32 defaultValue) const
    {
        return TextToWholeNumber(text(key), m_locale).value_or(defaultValue);
    }

private:
    const RegistryBackend &m_store;
    const QLocale &m_locale;
};

} // namespace

qint32 UpdateIntervalFromText(const QString &stored, const QLocale &locale)
{
    const qint32 defaultInterval = AppSettings().UpdateInterval;
    qint32 minutes = TextToWholeNumber(stored, locale).value_or(defaultInterval);
    if (minutes > kUpdateIntervalScale)
        minutes /= kUpdateIntervalScale;
    return minutes < 1 ? defaultInterval : minutes;
}

AppSettings LoadAppSettings(const RegistryBackend &store, const QLocale &locale)
{
    const SettingsReader read(store, locale);
    const AppSettings defaults;
    AppSettings settings;
    settings.AlwaysOnTop = read.boolean(u"AlwaysOnTop"_qs, defaults.AlwaysOnTop);
    settings.AutoCheck = read.boolean(u"AutoCheck"_qs, defaults.AutoCheck);
    settings.AutoUpdate = read.boolean(u"AutoUpdate"_qs, defaults.AutoUpdate);
    settings.CAISOGraph = read.boolean(u"CAISOGraph"_qs, defaults.CAISOGraph);
    settings.GraphValues = read.wholeNumber(u"GraphValues"_qs, defaults.GraphValues);
    settings.PlaySound = read.boolean(u"PlaySound"_qs, defaults.PlaySound);
    settings.ShowAtStartup = read.boolean(u"ShowAtStartup"_qs, defaults.ShowAtStartup);
    settings.ShowDetails = read.boolean(u"ShowDetails"_qs, defaults.ShowDetails);
    settings.UpdateInterval = UpdateIntervalFromText(read.text(u"UpdateInterval"_qs), locale);
    return settings;
}

bool SaveMainWindowSettings(RegistryBackend &store, const AppSettings &settings)
{
    return SaveSettings(store, kApplicationTitle, kSettingsSection,
                        {
                            {u"AlwaysOnTop"_qs, BooleanText(settings.AlwaysOnTop)},
                            {u"AutoCheck"_qs, BooleanText(settings.AutoCheck)},
                            {u"AutoUpdate"_qs, BooleanText(settings.AutoUpdate)},
                            {u"GraphValues"_qs, QString::number(settings.GraphValues)},
                            {u"PlaySound"_qs, BooleanText(settings.PlaySound)},
                            {u"ShowAtStartup"_qs, BooleanText(settings.ShowAtStartup)},
                            {u"ShowDetails"_qs, BooleanText(settings.ShowDetails)},
                            {u"UpdateInterval"_qs, QString::number(settings.UpdateInterval)},
                        });
}

bool SaveOptionsSettings(RegistryBackend &store, const AppSettings &settings)
{
    return SaveSettings(store, kApplicationTitle, kSettingsSection,
                        {
                            {u"AutoCheck"_qs, BooleanText(settings.AutoCheck)},
                            {u"CAISOGraph"_qs, BooleanText(settings.CAISOGraph)},
                            {u"UpdateInterval"_qs, QString::number(settings.UpdateInterval)},
                            {u"PlaySound"_qs, BooleanText(settings.PlaySound)},
                            {u"ShowAtStartup"_qs, BooleanText(settings.ShowAtStartup)},
                        });
}

} // namespace voltwise
