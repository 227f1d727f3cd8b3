#include "settings/app_settings.h"
#include "settings/legacy_import.h"
#include "settings/registry_operations.h"
#include "settings_test_support.h"

#include <memory>

using namespace voltwise;

namespace {

const QByteArray kLegacy = "[Settings]\nAutoCheck=False\nUpdateInterval=180000\n"
                           "Count=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\nBlob=@ByteArray(xyz)\n"
                           "[WindowSettings]\nfrmMain=\"15,30,4500,3000,2\"\n";

} // namespace

class TestLegacyImport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void import_data();
    void import();
    void startupImportTakesEffectAtOnce();
    void emptyNameIsTheTitle();

private:
    QString setting(const QString &section, const QString &key)
    {
        return GetSetting(m_reg->store, {}, section, key, u"<none>"_qs);
    }
    std::unique_ptr<TempRegistry> m_reg;
};

void TestLegacyImport::init()
{
    m_reg = std::make_unique<TempRegistry>();
}

void TestLegacyImport::import_data()
{
    QTest::addColumn<QByteArray>("legacy");  // empty: no legacy file
    QTest::addColumn<QByteArray>("current"); // empty: no current file
    QTest::addColumn<bool>("force");
    QTest::addColumn<bool>("copied");
    QTest::newRow("legacy only") << kLegacy << QByteArray() << false << true;
    QTest::newRow("current exists")
        << kLegacy << QByteArray("[Settings]\nAutoCheck=True\n") << false << false;
    QTest::newRow("current exists, forced")
        << kLegacy << QByteArray("[Settings]\nAutoCheck=True\nOwn=kept\n") << true << true;
    QTest::newRow("no legacy") << QByteArray() << QByteArray() << false << false;
    QTest::newRow("legacy without sections")
        << QByteArray("Top=1\n") << QByteArray() << false << false;
}

void TestLegacyImport::import()
{
    QFETCH(QByteArray, legacy);
    QFETCH(QByteArray, current);
    QFETCH(bool, force);
    QFETCH(bool, copied);
    if (!legacy.isEmpty())
        QVERIFY(WriteBytes(m_reg->legacyFile(), legacy));
    if (!current.isEmpty())
        QVERIFY(WriteBytes(m_reg->settingsFile(), current));

    QString app = u"Voltwise"_qs;
    ImportLegacySettings(m_reg->store, app, force);

    QCOMPARE(setting(u"Settings"_qs, u"UpdateInterval"_qs), copied ? u"180000"_qs : u"<none>"_qs);
    QCOMPARE(setting(u"WindowSettings"_qs, u"frmMain"_qs),
             copied ? u"15,30,4500,3000,2"_qs : u"<none>"_qs);
    if (copied) {
        QCOMPARE(setting(u"Settings"_qs, u"AutoCheck"_qs), u"False"_qs);
        // Only text values come across.
        QCOMPARE(setting(u"Settings"_qs, u"Count"_qs), u"<none>"_qs);
        QCOMPARE(setting(u"Settings"_qs, u"Blob"_qs), u"<none>"_qs);
    } else if (!current.isEmpty()) {
        QCOMPARE(setting(u"Settings"_qs, u"AutoCheck"_qs), u"True"_qs);
    } else {
        QVERIFY(!QFile::exists(m_reg->settingsFile()));
    }
    if (!current.isEmpty() && force)
        QCOMPARE(setting(u"Settings"_qs, u"Own"_qs), u"kept"_qs);
    QCOMPARE(ReadBytes(m_reg->legacyFile()), legacy); // untouched
}

void TestLegacyImport::startupImportTakesEffectAtOnce()
{
    QVERIFY(WriteBytes(m_reg->legacyFile(), kLegacy));
    ImportLegacySettingsAtStartup(m_reg->store);
    AppSettings loaded = LoadAppSettings(m_reg->store, QLocale::c());
    QCOMPARE(loaded.AutoCheck, false);
    QCOMPARE(loaded.UpdateInterval, 18);

    // Later starts find the key and copy nothing, whatever the legacy key holds.
    QVERIFY(SaveSetting(m_reg->store, {}, u"Settings"_qs, u"AutoCheck"_qs, u"True"_qs));
    ImportLegacySettingsAtStartup(m_reg->store);
    loaded = LoadAppSettings(m_reg->store, QLocale::c());
    QCOMPARE(loaded.AutoCheck, true);
}

void TestLegacyImport::emptyNameIsTheTitle()
{
    QVERIFY(WriteBytes(m_reg->legacyFile(), kLegacy));
    QString app;
    ImportLegacySettings(m_reg->store, app, false);
    QCOMPARE(app, u"Voltwise"_qs);
    QCOMPARE(setting(u"Settings"_qs, u"AutoCheck"_qs), u"False"_qs);
}

QTEST_GUILESS_MAIN(TestLegacyImport)
#include "test_legacy_import.moc"
