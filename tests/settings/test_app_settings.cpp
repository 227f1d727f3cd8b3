#include "settings/app_settings.h"
#include "settings/registry_operations.h"
#include "settings/server_settings.h"
#include "settings/settings_conversions.h"
#include "settings_test_support.h"

#include <memory>

using namespace voltwise;

class TestAppSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void emptyStoreGivesTableDefaults();
    void booleanReading_data();
    void booleanReading();
    void wholeNumberReading_data();
    void wholeNumberReading();
    void updateInterval_data();
    void updateInterval();
    void saveWritesTheirKeysOnly();
    void fileShowsTheTable();
    void serverUrls_data();
    void serverUrls();

private:
    std::unique_ptr<TempRegistry> m_reg;
};

void TestAppSettings::init()
{
    m_reg = std::make_unique<TempRegistry>();
}

void TestAppSettings::emptyStoreGivesTableDefaults()
{
    const AppSettings loaded = LoadAppSettings(m_reg->store, QLocale::c());
    QCOMPARE(loaded.AlwaysOnTop, false);
    QCOMPARE(loaded.AutoCheck, true);
    QCOMPARE(loaded.AutoUpdate, true);
    QCOMPARE(loaded.CAISOGraph, false);
    QCOMPARE(loaded.GraphValues, 15);
    QCOMPARE(loaded.PlaySound, true);
    QCOMPARE(loaded.ShowAtStartup, true);
    QCOMPARE(loaded.ShowDetails, true);
    QCOMPARE(loaded.UpdateInterval, 3);
    QVERIFY(!QFile::exists(m_reg->settingsFile())); // reading creates nothing
}

void TestAppSettings::booleanReading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<int>("expected"); // 1 true, 0 false, -1 does not convert
    const QLocale c = QLocale::c();
    QTest::newRow("True") << u"True"_qs << c << 1;
    QTest::newRow("any case") << u"fALSE"_qs << c << 0;
    QTest::newRow("blanks") << u" true "_qs << c << 1;
    QTest::newRow("zero") << u"0"_qs << c << 0;
    QTest::newRow("minus one") << u"-1"_qs << c << 1;
    QTest::newRow("fraction") << u"0.5"_qs << c << 1;
    QTest::newRow("locale zero") << u"0,0"_qs << QLocale(QLocale::German) << 0;
    QTest::newRow("yes") << u"yes"_qs << c << -1;
    QTest::newRow("empty") << QString() << c << -1;
    QTest::newRow("Truex") << u"Truex"_qs << c << -1;
}

void TestAppSettings::booleanReading()
{
    QFETCH(QString, text);
    QFETCH(QLocale, locale);
    QFETCH(int, expected);
    const std::optional<bool> converted = TextToBoolean(text, locale);
    QCOMPARE(converted ? int(*converted) : -1, expected);

    // Through the store, a text that does not convert gives each key's own default.
    QVERIFY(SaveSettings(m_reg->store, {}, u"Settings"_qs,
                         {{u"AutoCheck"_qs, text}, {u"CAISOGraph"_qs, text}}));
    const AppSettings loaded = LoadAppSettings(m_reg->store, locale);
    QCOMPARE(loaded.AutoCheck, expected == -1 ? true : expected == 1);
    QCOMPARE(loaded.CAISOGraph, expected == -1 ? false : expected == 1);
}

void TestAppSettings::wholeNumberReading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("decimal") << u"7"_qs << 7;
    QTest::newRow("blanks") << u" 12 "_qs << 12;
    QTest::newRow("negative") << u"-1"_qs << -1;
    QTest::newRow("half to even, down") << u"2.5"_qs << 2;
    QTest::newRow("half to even, up") << u"3.5"_qs << 4;
    QTest::newRow("largest") << u"2147483647"_qs << 2147483647;
    QTest::newRow("too large") << u"2147483648"_qs << 15;
    QTest::newRow("text") << u"abc"_qs << 15;
    QTest::newRow("hex is not decimal") << u"0x0F"_qs << 15;
    QTest::newRow("empty") << QString() << 15;
}

void TestAppSettings::wholeNumberReading()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    QVERIFY(SaveSetting(m_reg->store, {}, u"Settings"_qs, u"GraphValues"_qs, text));
    QCOMPARE(LoadAppSettings(m_reg->store, QLocale::c()).GraphValues, expected);
}

void TestAppSettings::updateInterval_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("expected");
    QTest::newRow("plain") << u"10"_qs << 10;
    QTest::newRow("180000 is 18") << u"180000"_qs << 18;
    QTest::newRow("10001 is 1") << u"10001"_qs << 1;
    QTest::newRow("10000 stays") << u"10000"_qs << 10000;
    QTest::newRow("99999 is 9") << u"99999"_qs << 9;
    QTest::newRow("zero") << u"0"_qs << 3;
    QTest::newRow("negative") << u"-5"_qs << 3;
    QTest::newRow("rounds to zero") << u"0.4"_qs << 3;
    QTest::newRow("not a number") << u"often"_qs << 3;
    QTest::newRow("missing") << QString() << 3;
}

void TestAppSettings::updateInterval()
{
    QFETCH(QString, stored);
    QFETCH(int, expected);
    QCOMPARE(UpdateIntervalFromText(stored, QLocale::c()), expected);
    if (!stored.isEmpty())
        QVERIFY(SaveSetting(m_reg->store, {}, u"Settings"_qs, u"UpdateInterval"_qs, stored));
    QCOMPARE(LoadAppSettings(m_reg->store, QLocale::c()).UpdateInterval, expected);
}

void TestAppSettings::saveWritesTheirKeysOnly()
{
    // Every setting away from its default, then which of them each save carries.
    const AppSettings changed{true, false, false, true, 5, false, false, false, 42};
    const auto differences = [](const AppSettings &a) {
        const AppSettings d;
        QStringList names;
        const std::pair<const char *, bool> fields[] = {
            {"AlwaysOnTop", a.AlwaysOnTop != d.AlwaysOnTop},
            {"AutoCheck", a.AutoCheck != d.AutoCheck},
            {"AutoUpdate", a.AutoUpdate != d.AutoUpdate},
            {"CAISOGraph", a.CAISOGraph != d.CAISOGraph},
            {"GraphValues", a.GraphValues != d.GraphValues},
            {"PlaySound", a.PlaySound != d.PlaySound},
            {"ShowAtStartup", a.ShowAtStartup != d.ShowAtStartup},
            {"ShowDetails", a.ShowDetails != d.ShowDetails},
            {"UpdateInterval", a.UpdateInterval != d.UpdateInterval}};
        for (const auto &[name, differs] : fields) {
            if (differs)
                names.append(QString::fromLatin1(name));
        }
        return names.join(u' ');
    };
    QVERIFY(SaveMainWindowSettings(m_reg->store, changed));
    QCOMPARE(differences(LoadAppSettings(m_reg->store, QLocale::c())),
             u"AlwaysOnTop AutoCheck AutoUpdate GraphValues PlaySound ShowAtStartup ShowDetails "
             "UpdateInterval"_qs);
    m_reg = std::make_unique<TempRegistry>();
    QVERIFY(SaveOptionsSettings(m_reg->store, changed));
    QCOMPARE(differences(LoadAppSettings(m_reg->store, QLocale::c())),
             u"AutoCheck CAISOGraph PlaySound ShowAtStartup UpdateInterval"_qs);
}

void TestAppSettings::fileShowsTheTable()
{
    AppSettings settings;
    settings.PlaySound = false;
    settings.UpdateInterval = 120;
    QVERIFY(SaveMainWindowSettings(m_reg->store, settings));
    QVERIFY(SaveOptionsSettings(m_reg->store, settings));
    const QString text = QString::fromUtf8(ReadBytes(m_reg->settingsFile()));
    QCOMPARE(text, u"[Settings]\n"
                   "AlwaysOnTop=False\n"
                   "AutoCheck=True\n"
                   "AutoUpdate=True\n"
                   "CAISOGraph=False\n"
                   "GraphValues=15\n"
                   "PlaySound=False\n"
                   "ShowAtStartup=True\n"
                   "ShowDetails=True\n"
                   "UpdateInterval=120\n"_qs);
}

void TestAppSettings::serverUrls_data()
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
    QTest::newRow("words") << u"not a url"_qs << QString();
    QTest::newRow("missing") << QString() << QString();
}

void TestAppSettings::serverUrls()
{
    QFETCH(QString, stored);
    QFETCH(QString, expected);
    const ServerUrls defaults = ServerUrls::defaults();
    if (!stored.isEmpty()) {
        QVERIFY(SaveSettings(m_reg->store, {}, u"Servers"_qs,
                             {{u"GridMain"_qs, stored}, {u"Maker"_qs, stored}}));
    }
    const ServerUrls loaded = LoadServerUrls(m_reg->store);
    QCOMPARE(loaded.gridMain, expected.isEmpty() ? defaults.gridMain : QUrl(expected));
    QCOMPARE(loaded.maker, expected.isEmpty() ? defaults.maker : QUrl(expected));
    QCOMPARE(loaded.gridContent, defaults.gridContent);

    if (!expected.isEmpty()) {
        const ServerUrls saved{QUrl(expected), QUrl(u"http://127.0.0.1:1"_qs), QUrl(expected)};
        QVERIFY(SaveServerUrls(m_reg->store, saved));
        const ServerUrls again = LoadServerUrls(m_reg->store);
        QCOMPARE(again.gridContent, saved.gridContent);
        QCOMPARE(again.gridMain, saved.gridMain);
    }
}

QTEST_GUILESS_MAIN(TestAppSettings)
#include "test_app_settings.moc"
