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
// AutoCheck, UpdateInterval, frmMain, Count, Blob and Own as found afterwards.
const QString kCopied = u"False 180000 15,30,4500,3000,2 - - -"_qs;
const QString kNothing = u"- - - - - -"_qs;

} // namespace

class TestLegacyImport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_reg = std::make_unique<TempRegistry>(); }
    void import_data()
    {
        QTest::addColumn<QByteArray>("legacy");  // empty: no legacy file
        QTest::addColumn<QByteArray>("current"); // empty: no current file
        QTest::addColumn<QString>("app");
        QTest::addColumn<bool>("force");
        QTest::addColumn<QString>("expected"); // only text values come across
        const QString voltwise = u"Voltwise"_qs;
        const QByteArray current = "[Settings]\nAutoCheck=True\nOwn=kept\n";
        QTest::newRow("legacy only") << kLegacy << QByteArray() << voltwise << false << kCopied;
        QTest::newRow("empty name is the title")
            << kLegacy << QByteArray() << QString() << false << kCopied;
        QTest::newRow("current exists")
            << kLegacy << current << voltwise << false << u"True - - - - kept"_qs;
        QTest::newRow("current exists, forced") << kLegacy << current << voltwise << true
                                                << u"False 180000 15,30,4500,3000,2 - - kept"_qs;
        QTest::newRow("no legacy") << QByteArray() << QByteArray() << voltwise << false << kNothing;
        QTest::newRow("legacy without sections")
            << QByteArray("Top=1\n") << QByteArray() << voltwise << false << kNothing;
    }

    void import()
    {
        QFETCH(QByteArray, legacy);
        QFETCH(QByteArray, current);
        QFETCH(QString, app);
        QFETCH(bool, force);
        QFETCH(QString, expected);
        if (!legacy.isEmpty())
            QVERIFY(WriteBytes(m_reg->legacyFile(), legacy));
        if (!current.isEmpty())
            QVERIFY(WriteBytes(m_reg->settingsFile(), current));

        ImportLegacySettings(m_reg->store, app, force);

        QCOMPARE(app, u"Voltwise"_qs);
        QStringList found;
        for (const QString &key :
             {u"Settings/AutoCheck"_qs, u"Settings/UpdateInterval"_qs, u"WindowSettings/frmMain"_qs,
              u"Settings/Count"_qs, u"Settings/Blob"_qs, u"Settings/Own"_qs}) {
            found << GetSetting(m_reg->store, {}, key.section(u'/', 0, 0), key.section(u'/', 1),
                                u"-"_qs);
        }
        QCOMPARE(found.join(u' '), expected);
        if (expected == kNothing)
            QVERIFY(!QFile::exists(m_reg->settingsFile()));
        QCOMPARE(ReadBytes(m_reg->legacyFile()), legacy); // untouched
    }

    void startupImportTakesEffectAtOnce()
    {
        QVERIFY(WriteBytes(m_reg->legacyFile(), kLegacy));
        ImportLegacySettingsAtStartup(m_reg->store);
        AppSettings loaded = LoadAppSettings(m_reg->store, QLocale::c());
        QCOMPARE(loaded.AutoCheck, false);
        QCOMPARE(loaded.UpdateInterval, 18);

        // Later starts find the key and copy nothing, whatever the legacy key holds.
        QVERIFY(SaveSetting(m_reg->store, {}, u"Settings"_qs, u"AutoCheck"_qs, u"True"_qs));
        ImportLegacySettingsAtStartup(m_reg->store);
        QCOMPARE(LoadAppSettings(m_reg->store, QLocale::c()).AutoCheck, true);
    }

private:
    std::unique_ptr<TempRegistry> m_reg;
};

QTEST_GUILESS_MAIN(TestLegacyImport)
#include "test_legacy_import.moc"
