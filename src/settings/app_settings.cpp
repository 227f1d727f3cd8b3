#include "settings/app_settings.h"

#include "settings/registry_operations.h"
#include "settings/settings_conversions.h"

#include <initializer_list>

namespace voltwise {

namespace {

constexpr qint32 kUpdateIntervalScale = 10000;

// Calls visit(key, member) for each member, in the table's order.
template <typename Settings, typename Visit>
void ForEachMember(Settings &s, Visit &&visit)
{
    namespace k = SettingKeys;
    visit(k::AlwaysOnTop, s.AlwaysOnTop);
    visit(k::AutoCheck, s.AutoCheck);
    visit(k::AutoUpdate, s.AutoUpdate);
    visit(k::CAISOGraph, s.CAISOGraph);
    visit(k::GraphValues, s.GraphValues);
    visit(k::PlaySound, s.PlaySound);
    visit(k::ShowAtStartup, s.ShowAtStartup);
    visit(k::ShowDetails, s.ShowDetails);
    visit(k::UpdateInterval, s.UpdateInterval);
    visit(k::NoticeStyle, s.NoticeStyle);
}

void ReadMember(const SettingKey &key, const QString &text, const QLocale &locale, bool &member)
{
    member = TextToBoolean(text, locale).value_or(key.defaultBoolean());
}

void ReadMember(const SettingKey &key, const QString &text, const QLocale &locale, qint32 &member)
{
    member = key.type == SettingType::Minutes
                 ? UpdateIntervalFromText(text, locale)
                 : TextToWholeNumber(text, locale).value_or(key.defaultNumber());
}

void ReadMember(const SettingKey &, const QString &text, const QLocale &, NoticeStyle &member)
{
    member = NoticeStyleFromText(text);
}

QString MemberText(bool member)
{
    return BooleanText(member);
}

QString MemberText(qint32 member)
{
    return QString::number(member);
}

QString MemberText(NoticeStyle member)
{
    return NoticeStyleText(member);
}

bool SaveMembers(RegistryBackend &store, const AppSettings &settings,
                 std::initializer_list<const SettingKey *> keys)
{
    const QMap<QString, QString> texts = AppSettingsTexts(settings);
    RegistryStringValues values;
    for (const SettingKey *key : keys)
        values.append({key->name, texts.value(key->name)});
    return SaveSettings(store, kApplicationTitle, kSettingsSection, values);
}

} // namespace

qint32 UpdateIntervalFromText(const QString &stored, const QLocale &locale)
{
    const qint32 defaultInterval = SettingKeys::UpdateInterval.defaultNumber();
    qint32 minutes = TextToWholeNumber(stored, locale).value_or(defaultInterval);
    if (minutes > kUpdateIntervalScale)
        minutes /= kUpdateIntervalScale;
    return minutes < 1 ? defaultInterval : minutes;
}

QMap<QString, QString> AppSettingsTexts(const AppSettings &settings)
{
    QMap<QString, QString> texts;
    ForEachMember(settings, [&texts](const SettingKey &key, const auto &member) {
        texts.insert(key.name, MemberText(member));
    });
    return texts;
}

AppSettings LoadAppSettings(const RegistryBackend &store, const QLocale &locale)
{
    const QHash<QString, QString> stored = GetSettings(store, kApplicationTitle, kSettingsSection);
    AppSettings settings;
    ForEachMember(settings, [&](const SettingKey &key, auto &member) {
        ReadMember(key, stored.value(key.name), locale, member);
    });
    return settings;
}

bool SaveMainWindowSettings(RegistryBackend &store, const AppSettings &settings)
{
    namespace k = SettingKeys;
    return SaveMembers(store, settings,
                       {&k::AlwaysOnTop, &k::AutoCheck, &k::AutoUpdate, &k::GraphValues,
                        &k::PlaySound, &k::ShowAtStartup, &k::ShowDetails, &k::UpdateInterval});
}

bool SaveOptionsSettings(RegistryBackend &store, const AppSettings &settings)
{
    namespace k = SettingKeys;
    return SaveMembers(
        store, settings,
        {&k::AutoCheck, &k::CAISOGraph, &k::UpdateInterval, &k::PlaySound, &k::ShowAtStartup});
}

} // namespace voltwise
