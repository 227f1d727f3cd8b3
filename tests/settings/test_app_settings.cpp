#include "settings/app_settings.h"
#include "settings/registry_operations.h"
#include "settings/server_settings.h"
#include "settings/setting_keys.h"
#include "settings/settings_conversions.h"
#include "settings_test_support.h"

#include <algorithm>
#include <memory>

using namespace voltwise;

namespace {

// German throughout, so that a conversion made in another locale shows.
const QLocale kGerman(QLocale::German);

} // namespace

class TestAppSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_reg = std::make_unique<TempRegistry>(); }
    void conversions_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *title, const SettingKey &key, const QString &text,
                            const char *expected) {
            QTest::newRow(title) << QString(key.name) << text << QString::fromLatin1(expected);
        };
        namespace k = SettingKeys;
        row("False in any case", k::AutoCheck, u" fALSE "_qs, "False");
        row("True", k::CAISOGraph, u"true"_qs, "True");
        row("zero is False", k::AutoCheck, u"0"_qs, "False");
        row("any other number is True", k::CAISOGraph, u"0,5"_qs, "True");
        row("negative", k::GraphValues, u"-1"_qs, "-1");
        row("half to even, down", k::GraphValues, u"2,5"_qs, "2");
        row("half to even, up", k::GraphValues, u"3,5"_qs, "4");
        row("up to a NUL", k::GraphValues,
            QString(u"7\0"
                    "8"_qs),
            "7");
        row("largest", k::GraphValues, u"2147483647"_qs, "2147483647");
        row("too large", k::GraphValues, u"2147483648"_qs, "15");
        row("interval up to 10000 stays", k::UpdateInterval, u"10000"_qs, "10000");
        row("interval above is divided", k::UpdateInterval, u"10001"_qs, "1");
        row("remainder dropped", k::UpdateInterval, u"99999"_qs, "9");
        row("interval zero", k::UpdateInterval, u"0"_qs, "3");
        row("interval rounds to zero", k::UpdateInterval, u"0,4"_qs, "3");
    }

    void conversions()
    {
        QFETCH(QString, key);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QVERIFY(SaveSetting(m_reg->store, {}, kSettingsSection, key, text));
        QCOMPARE(AppSettingsTexts(LoadAppSettings(m_reg->store, kGerman)).value(key), expected);
        if (key == u"UpdateInterval")
            QCOMPARE(QString::number(UpdateIntervalFromText(text, kGerman)), expected);
    }

    // Every key that a loader reads, missing or stored as something that does
    // not convert: the loader's result, saved again, is the table's default.
    void tableDefaults_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("stored"); // empty: nothing stored
        for (int i = 0; i < int(SettingKeys::All.size()); ++i) {
            const SettingKey &key = *SettingKeys::All[i];
            if (key.type == SettingType::Text || key.type == SettingType::Placement)
                continue; // read by their own users
            QTest::addRow("%s missing", key.name.data()) << i << QString();
            QTest::addRow("%s not convertible", key.name.data()) << i << u"x=1"_qs;
        }
    }

    void tableDefaults()
    {
        QFETCH(int, index);
        QFETCH(QString, stored);
        const SettingKey &key = *SettingKeys::All[index];
        if (!stored.isEmpty())
            QVERIFY(SaveSetting(m_reg->store, {}, key.section, key.name, stored));
        const AppSettings settings = LoadAppSettings(m_reg->store, kGerman);
        const ServerUrls urls = LoadServerUrls(m_reg->store);
        QCOMPARE(QFile::exists(m_reg->settingsFile()),
                 !stored.isEmpty()); // reading creates nothing

        TempRegistry saved;
        QVERIFY(SaveMainWindowSettings(saved.store, settings));
        QVERIFY(SaveOptionsSettings(saved.store, settings));
        QVERIFY(SaveServerUrls(saved.store, urls));
        QCOMPARE(GetSetting(saved.store, {}, key.section, key.name, u"<missing>"_qs),
                 QString(key.defaultText));
    }

    // The keys of each save, with the values of a first run.
    void eachSaveWritesItsOwnKeys()
    {
        const auto saved = [](bool (*save)(RegistryBackend &, const AppSettings &)) {
            TempRegistry reg;
            QStringList pairs{QString::number(save(reg.store, AppSettings()))};
            const QHash<QString, QString> texts = GetSettings(reg.store, {}, kSettingsSection);
            for (auto it = texts.cbegin(); it != texts.cend(); ++it)
                pairs << it.key() + u'=' + it.value();
            std::sort(pairs.begin(), pairs.end());
            return pairs.join(u' ');
        };
        QCOMPARE(saved(SaveMainWindowSettings),
                 u"1 AlwaysOnTop=False AutoCheck=True AutoUpdate=True GraphValues=15 "
                 "PlaySound=True ShowAtStartup=True ShowDetails=True UpdateInterval=3"_qs);
        QCOMPARE(saved(SaveOptionsSettings), u"1 AutoCheck=True CAISOGraph=False PlaySound=True "
                                             "ShowAtStartup=True UpdateInterval=3"_qs);
    }

    void serverUrls_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("expected"); // empty: the default
        QTest::newRow("loopback with port")
            << u"http://127.0.0.1:18080"_qs << u"http://127.0.0.1:18080"_qs;
        QTest::newRow("https, path dropped")
            << u" https://Grid.Example/x?y=1 "_qs << u"https://grid.example"_qs;
        QTest::newRow("other scheme") << u"ftp://127.0.0.1"_qs << QString();
        QTest::newRow("no scheme") << u"127.0.0.1:8080"_qs << QString();
        QTest::newRow("no host") << u"http://"_qs << QString();
    }

    void serverUrls()
    {
        QFETCH(QString, stored);
        QFETCH(QString, expected);
        const ServerUrls defaults = ServerUrls::defaults();
        using U = ServerUrls;
        const std::pair<const SettingKey *, QUrl U::*> servers[] = {
            {&SettingKeys::GridMain, &U::gridMain}, {&SettingKeys::Maker, &U::maker},
            {&SettingKeys::Pge, &U::pge},           {&SettingKeys::Sce, &U::sce},
            {&SettingKeys::Sdge, &U::sdge},         {&SettingKeys::SdgeBlackout, &U::sdgeBlackout}};
        for (const auto &[key, member] : servers)
            QVERIFY(SaveSetting(m_reg->store, *key, stored));
        ServerUrls loaded = LoadServerUrls(m_reg->store);
        for (const auto &[key, member] : servers)
            QCOMPARE(loaded.*member, expected.isEmpty() ? defaults.*member : QUrl(expected));
        QCOMPARE(loaded.gridContent, defaults.gridContent);

        loaded.gridContent = QUrl(u"http://127.0.0.1:1"_qs);
        loaded.flexAlerts = QUrl(u"http://127.0.0.1:2"_qs);
        loaded.feeds = FeedSource::Classic;
        QVERIFY(SaveServerUrls(m_reg->store, loaded));
        const ServerUrls again = LoadServerUrls(m_reg->store);
        for (QUrl U::*member : {&U::gridMain, &U::gridContent, &U::maker, &U::flexAlerts})
            QCOMPARE(again.*member, loaded.*member);
        QCOMPARE(again.feeds, FeedSource::Classic);
    }

private:
    std::unique_ptr<TempRegistry> m_reg;
};

QTEST_GUILESS_MAIN(TestAppSettings)
#include "test_app_settings.moc"
