// The settings store over its files, and the program's settings read and
// saved through it.
#include "settings/app_settings.h"
#include "settings/legacy_import.h"
#include "settings/registry_operations.h"
#include "settings/server_settings.h"
#include "settings/setting_keys.h"
#include "settings/settings_conversions.h"
#include "settings_test_support.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLocalServer>
#include <QRegularExpression>

#include <memory>

using namespace voltwise;

namespace {

const QString kUser = u"Software\\Ternwood\\Voltwise"_qs;
const auto kCurrentUser = RegistryRoot::CurrentUser;
const QByteArray kLegacy = "[Settings]\nAutoCheck=False\nUpdateInterval=180000\n"
                           "Count=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\nBlob=@ByteArray(xyz)\n"
                           "[WindowSettings]\nfrmMain=\"15,30,4500,3000,2\"\n";
// German throughout, so that a conversion made in another locale shows.
const QLocale kGerman(QLocale::German);

} // namespace

class TestRegistryStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_reg = std::make_unique<TempRegistry>();
        QVERIFY(m_reg->dir.isValid());
    }

    void reads_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("path"); // under Software\Ternwood; for GetSetting the section
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected"); // the result, then what came back
        const auto row = [](const char *title, const char *operation, const char *path,
                            const char *name, const char *expected) {
            QTest::newRow(title) << QString::fromUtf8(operation) << QString::fromUtf8(path)
                                 << QString::fromUtf8(name) << QString::fromUtf8(expected);
        };
        row("setting", "setting", "Settings", "Text", "abc");
        row("empty setting reads default", "setting", "Settings", "Empty", "dflt");
        row("star is the unnamed value", "setting", "Settings", "*", "unnamed");
        row("setting cut at NUL", "setting", "Settings", "Cut", "ab");
        row("unquoted commas", "setting", "Settings", "List", "1,2");
        row("exists: a parent", "exists", "", "", "1");
        row("subkeys replace the names", "subkeys", "Voltwise", "", "1 E Settings WindowSettings");
        row("missing key leaves the names", "subkeys", "Voltwise\\Missing", "", "0 stale");
        row("text values only", "values", "Voltwise\\E", "", "1 A=a");
        row("text keeps its last character", "get", "Voltwise\\Settings", "Text", "1 QString:abc");
        row("bytes", "get", "Voltwise\\Settings", "Bytes", "1 QByteArray:raw");
        row("missing value", "get", "Voltwise\\Settings", "None", "0 QString:untouched");
    }

    void reads()
    {
        QFETCH(QString, operation);
        QFETCH(QString, path);
        QFETCH(QString, name);
        QVERIFY(WriteBytes(m_reg->settingsFile(),
                           "[General]\nTop=t\n"
                           "[Settings]\nText=abc\nEmpty=\n%40=unnamed\nCut=ab\\0cd\nList=1, 2\n"
                           "Number=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\nBytes=@ByteArray(raw)\n"
                           "[E]\nA=a\nB=@ByteArray(raw)\nSub\\C=c\n"
                           "[WindowSettings]\nfrmMain=\"1,2,3,4,0\"\n"));
        const RegistryBackend &store = m_reg->store;
        if (operation == u"setting") {
            QTEST(GetSetting(store, u"Voltwise"_qs, path, name, u"dflt"_qs), "expected");
            return;
        }
        path = u"Software\\Ternwood"_qs + (path.isEmpty() ? QString() : u'\\' + path);
        bool done = false;
        QStringList got{u"stale"_qs};
        if (operation == u"exists") {
            done = RegKeyExists(store, kCurrentUser, path);
            got.clear();
        } else if (operation == u"subkeys") {
            done = RegEnumSubKeys(store, kCurrentUser, path, got);
        } else if (operation == u"values") {
            QStringList names;
            QStringList data;
            done = RegEnumStringValues(store, kCurrentUser, path, names, data);
            got.clear();
            for (qsizetype i = 0; i < names.size(); ++i)
                got << names[i] + u'=' + data.value(i);
        } else {
            QVariant data = u"untouched"_qs;
            done = RegGetValue(store, kCurrentUser, path, name, data);
            got = QStringList{QString::fromLatin1(data.typeName()) + u':' + data.toString()};
        }
        QTEST((QStringList{QString::number(done)} + got).join(u' '), "expected");
    }

    void unsafePathsFail_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("outside Software") << u"Environment\\Ternwood\\Voltwise"_qs;
        QTest::newRow("parent directory") << u"Software\\..\\..\\escape\\S"_qs;
        QTest::newRow("dot") << u"Software\\.\\x"_qs;
        QTest::newRow("slash in name") << u"Software\\a/b\\c"_qs;
    }

    void unsafePathsFail()
    {
        QFETCH(QString, path);
        QVERIFY(!RegSetStringValue(m_reg->store, kCurrentUser, path, u"K"_qs, u"v"_qs));
        QVERIFY(!RegKeyExists(m_reg->store, kCurrentUser, path));
        QCOMPARE(QDir(m_reg->dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
    }

    void fileReplacedWithinOneTickIsReadAfresh()
    {
        QVERIFY(SaveSetting(m_reg->store, {}, u"S"_qs, u"K"_qs, u"AAAA"_qs));
        QCOMPARE(setting(u"S"_qs, u"K"_qs), u"AAAA"_qs);
        const QString path = m_reg->settingsFile();
        const QDateTime stamp = QFileInfo(path).lastModified();
        QVERIFY(WriteBytes(path, ReadBytes(path).replace("AAAA", "BBBB")));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite) &&
                file.setFileTime(stamp, QFileDevice::FileModificationTime));
        file.close();
        QCOMPARE(setting(u"S"_qs, u"K"_qs), u"BBBB"_qs);
        QVERIFY(SaveSetting(m_reg->store, {}, u"S"_qs, u"L"_qs, u"x"_qs));
        QCOMPARE(setting(u"S"_qs, u"K"_qs), u"BBBB"_qs);
    }

    // Damaged, or valid but beyond the size any save of the program makes.
    void damagedFileReadsDefaultsUntilSaved_data()
    {
        QTest::addColumn<QByteArray>("damaged");
        QTest::addColumn<QString>("warning");
        QTest::newRow("damaged") << QByteArray("[Settings]\nAutoCheck=False\n[Broken\n\x01 x\n")
                                 << u"Voltwise.conf is damaged"_qs;
        QTest::newRow("oversized") << "[Settings]\nAutoCheck=False\nPad=" +
                                          QByteArray(QSettingsRegistryBackend::kMaxFileSize, 'x')
                                   << u"is damaged \\(larger than"_qs;
    }

    void damagedFileReadsDefaultsUntilSaved()
    {
        QFETCH(QByteArray, damaged);
        QFETCH(QString, warning);
        QVERIFY(WriteBytes(m_reg->settingsFile(), damaged));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warning));
        QCOMPARE(setting(u"Settings"_qs, u"AutoCheck"_qs, u"True"_qs), u"True"_qs);
        // Reported once, not at every read.
        QCOMPARE(setting(u"Settings"_qs, u"AutoCheck"_qs, u"True"_qs), u"True"_qs);
        QCOMPARE(ReadBytes(m_reg->settingsFile()), damaged);

        QVERIFY(SaveSetting(m_reg->store, {}, u"Settings"_qs, u"PlaySound"_qs, u"False"_qs));
        QCOMPARE(ReadBytes(m_reg->settingsFile() + u".damaged"_qs), damaged);
        QCOMPARE(setting(u"Settings"_qs, u"PlaySound"_qs), u"False"_qs);
        QCOMPARE(setting(u"Settings"_qs, u"AutoCheck"_qs, u"True"_qs), u"True"_qs);
    }

    void unreadableFileIsNeverOverwritten()
    {
        // A socket opens for nobody, not even root, yet could be replaced.
        QVERIFY(QDir().mkpath(m_reg->userFile(u"Ternwood"_qs)));
        QLocalServer socket;
        QVERIFY(socket.listen(m_reg->settingsFile()));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"Voltwise.conf is unreadable"_qs));
        QCOMPARE(setting(u"Settings"_qs, u"K"_qs, u"dflt"_qs), u"dflt"_qs);
        QVERIFY(!RegKeyExists(m_reg->store, kCurrentUser, kUser));
        QVERIFY(!SaveSetting(m_reg->store, {}, u"Settings"_qs, u"K"_qs, u"v"_qs));
        QVERIFY(!QFileInfo(m_reg->settingsFile()).isFile());
    }

    // Only text values come across, once: later starts find the key and copy nothing.
    void legacyImportAtStartup()
    {
        QVERIFY(WriteBytes(m_reg->legacyFile(), kLegacy));
        ImportLegacySettingsAtStartup(m_reg->store);
        const AppSettings loaded = LoadAppSettings(m_reg->store, QLocale::c());
        QCOMPARE(loaded.AutoCheck, false);
        QCOMPARE(loaded.UpdateInterval, 18);
        QCOMPARE(setting(u"WindowSettings"_qs, u"frmMain"_qs), u"15,30,4500,3000,2"_qs);
        QCOMPARE(setting(u"Settings"_qs, u"Count"_qs) + setting(u"Settings"_qs, u"Blob"_qs),
                 u""_qs);
        QCOMPARE(ReadBytes(m_reg->legacyFile()), kLegacy);

        QVERIFY(SaveSetting(m_reg->store, {}, u"Settings"_qs, u"AutoCheck"_qs, u"True"_qs));
        ImportLegacySettingsAtStartup(m_reg->store);
        QCOMPARE(LoadAppSettings(m_reg->store, QLocale::c()).AutoCheck, true);
    }

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
        row("zero is False", k::AutoCheck, u"0"_qs, "False");
        row("any other number is True", k::CAISOGraph, u"0,5"_qs, "True");
        row("half to even, down", k::GraphValues, u"2,5"_qs, "2");
        row("half to even, up", k::GraphValues, u"3,5"_qs, "4");
        row("up to a NUL", k::GraphValues,
            QString(u"7\0"
                    "8"_qs),
            "7");
        row("too large", k::GraphValues, u"2147483648"_qs, "15");
        row("interval up to 10000 stays", k::UpdateInterval, u"10000"_qs, "10000");
        row("interval above is divided", k::UpdateInterval, u"10001"_qs, "1");
        row("remainder dropped", k::UpdateInterval, u"99999"_qs, "9");
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

    void serverUrls_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("expected"); // empty: the default
        QTest::newRow("loopback with port")
            << u"http://127.0.0.1:18080"_qs << u"http://127.0.0.1:18080"_qs;
        QTest::newRow("https, path dropped")
            << u" https://Grid.Example/x?y=1 "_qs << u"https://grid.example"_qs;
        QTest::newRow("other scheme") << u"ftp://127.0.0.1"_qs << QString();
        QTest::newRow("no host") << u"http://"_qs << QString();
    }

    void serverUrls()
    {
        QFETCH(QString, stored);
        QFETCH(QString, expected);
        const ServerUrls defaults = ServerUrls::defaults();
        using U = ServerUrls;
        const std::pair<const SettingKey *, QUrl U::*> servers[] = {
            {&SettingKeys::GridMain, &U::gridMain},
            {&SettingKeys::Maker, &U::maker},
            {&SettingKeys::SdgeBlackout, &U::sdgeBlackout}};
        for (const auto &[key, member] : servers)
            QVERIFY(SaveSetting(m_reg->store, *key, stored));
        ServerUrls loaded = LoadServerUrls(m_reg->store);
        for (const auto &[key, member] : servers)
            QCOMPARE(loaded.*member, expected.isEmpty() ? defaults.*member : QUrl(expected));
        QCOMPARE(loaded.gridContent, defaults.gridContent);

        loaded.flexAlerts = QUrl(u"http://127.0.0.1:2"_qs);
        loaded.feeds = FeedSource::Classic;
        QVERIFY(SaveServerUrls(m_reg->store, loaded));
        const ServerUrls again = LoadServerUrls(m_reg->store);
        QCOMPARE(again.flexAlerts, loaded.flexAlerts);
        QCOMPARE(again.feeds, FeedSource::Classic);
    }

private:
    QString setting(const QString &section, const QString &key, const QString &dflt = {}) const
    {
        return GetSetting(m_reg->store, {}, section, key, dflt);
    }
    std::unique_ptr<TempRegistry> m_reg;
};

QTEST_GUILESS_MAIN(TestRegistryStore)
#include "test_registry_store.moc"
