#include "settings/app_settings.h"
#include "settings/legacy_import.h"
#include "settings/registry_operations.h"
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
        row("setting missing", "setting", "Settings", "Other", "dflt");
        row("empty setting reads default", "setting", "Settings", "Empty", "dflt");
        row("star is the unnamed value", "setting", "Settings", "*", "unnamed");
        row("setting cut at NUL", "setting", "Settings", "Cut", "ab");
        row("number as text", "setting", "Settings", "Number", "5");
        row("unquoted commas", "setting", "Settings", "List", "1,2");
        row("exists: a parent", "exists", "", "", "1");
        row("exists: a subgroup", "exists", "Voltwise\\E\\Sub", "", "1");
        row("exists: another program", "exists", "Other", "", "0");
        row("subkeys replace the names", "subkeys", "Voltwise", "", "1 E Settings WindowSettings");
        row("subkeys: the programs", "subkeys", "", "", "1 Voltwise");
        row("no subkeys empties the names", "subkeys", "Voltwise\\WindowSettings", "", "0");
        row("missing key leaves the names", "subkeys", "Voltwise\\Missing", "", "0 stale");
        row("text values only", "values", "Voltwise\\E", "", "1 A=a");
        row("top-level values", "values", "Voltwise", "", "1 Top=t");
        row("values of a missing key", "values", "Voltwise\\Missing", "", "0");
        row("text keeps its last character", "get", "Voltwise\\Settings", "Text", "1 QString:abc");
        row("number", "get", "Voltwise\\Settings", "Number", "1 int:5");
        row("bytes", "get", "Voltwise\\Settings", "Bytes", "1 QByteArray:raw");
        row("unnamed value", "get", "Voltwise\\Settings", "", "1 QString:unnamed");
        row("missing value", "get", "Voltwise\\Settings", "None", "0 QString:untouched");
        row("name with slash", "get", "Voltwise\\Settings", "a/b", "0 QString:untouched");
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

    void deleteSetting_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("remaining"); // "Section/Key" of the values left
        const auto row = [](const char *title, const char *section, const char *key, bool result,
                            const char *remaining = "Settings/@ Settings/A Settings/B Window/W") {
            QTest::newRow(title) << QString::fromUtf8(section) << QString::fromUtf8(key) << result
                                 << QString::fromUtf8(remaining);
        };
        row("value", "Settings", "A", true, "Settings/@ Settings/B Window/W");
        row("unnamed value", "Settings", "*", true, "Settings/A Settings/B Window/W");
        row("missing value", "Settings", "C", false);
        row("whole section", "Settings", "", true, "Window/W");
        row("missing section", "Other", "", false);
        row("no section, no key", "", "", false);
    }

    void deleteSetting()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QVERIFY(!DeleteSetting(m_reg->store, {}, u"Settings"_qs, u"A"_qs)); // nothing stored yet
        QVERIFY(SaveSettings(m_reg->store, {}, u"Settings"_qs,
                             {{u"A"_qs, u"1"_qs}, {u"B"_qs, u"2"_qs}, {u"*"_qs, u"3"_qs}}));
        QVERIFY(SaveSetting(m_reg->store, {}, u"Window"_qs, u"W"_qs, u"4"_qs));

        QTEST(DeleteSetting(m_reg->store, {}, section, key), "result");
        QStringList left;
        for (const QString &s : {u"Settings"_qs, u"Window"_qs}) {
            QStringList names;
            QStringList data;
            RegEnumStringValues(m_reg->store, kCurrentUser, kUser + u'\\' + s, names, data);
            for (const QString &name : names)
                left.append(s + u'/' + (name.isEmpty() ? u"@"_qs : name));
        }
        QTEST(left.join(u' '), "remaining");
    }

    void valuesOutsideTheProgramsKey()
    {
        const QString run = u"Software\\Microsoft\\Windows\\CurrentVersion\\Run"_qs;
        auto &store = m_reg->store;
        QVariant data;
        QVERIFY(RegSetStringValue(store, kCurrentUser, run, u"Voltwise"_qs, u"/opt/V.EXE"_qs));
        QVERIFY(QFileInfo::exists(m_reg->userFile(u"Microsoft/Windows.conf"_qs)));
        QVERIFY(RegGetValue(store, kCurrentUser, run, u"Voltwise"_qs, data));
        QCOMPARE(data.toString(), u"/opt/V.EXE"_qs);
        QVERIFY(RegDeleteValue(store, kCurrentUser, run, u"Voltwise"_qs));
        QVERIFY(!RegDeleteValue(store, kCurrentUser, run, u"Voltwise"_qs));
        QVERIFY(!RegGetValue(store, kCurrentUser, run, u"Voltwise"_qs, data));
        QVERIFY(!RegSetStringValue(store, kCurrentUser, u"Software\\Ternwood"_qs, u"x"_qs, {}));
    }

    void machineRootReadsFirstHolderAndRefusesWrites()
    {
        const auto lm = RegistryRoot::LocalMachine;
        const auto machineValue = [&] {
            QVariant data;
            return RegGetValue(m_reg->store, lm, kUser + u"\\S"_qs, u"K"_qs, data) ? data.toString()
                                                                                   : QString();
        };
        QVERIFY(!RegKeyExists(m_reg->store, lm, kUser));
        QVERIFY(WriteBytes(m_reg->dir.filePath(u"machine2/Ternwood/Voltwise.conf"_qs),
                           "[S]\nK=second\n"));
        QCOMPARE(GetSetting(m_reg->store, {}, u"S"_qs, u"K"_qs, u"none"_qs), u"none"_qs);
        QCOMPARE(machineValue(), u"second"_qs);
        QVERIFY(WriteBytes(m_reg->dir.filePath(u"machine1/Ternwood/Voltwise.conf"_qs),
                           "[S]\nK=first\n"));
        QCOMPARE(machineValue(), u"first"_qs);

        // A system directory that cannot even be created, let alone written.
        QVERIFY(WriteBytes(m_reg->dir.filePath(u"plainfile"_qs), "x"));
        QSettingsRegistryBackend locked(
            {m_reg->dir.filePath(u"user"_qs), {m_reg->dir.filePath(u"plainfile/xdg"_qs)}});
        QVERIFY(!RegSetStringValue(locked, lm, kUser + u"\\S"_qs, u"K"_qs, u"x"_qs));
        QVERIFY(!RegDeleteValue(locked, lm, kUser + u"\\S"_qs, u"K"_qs));
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

    void damagedFileReadsDefaultsUntilSaved()
    {
        const QByteArray damaged =
            "[Settings]\nAutoCheck=False\n[Broken\n\x01\x02 garbage without equals\n";
        QVERIFY(WriteBytes(m_reg->settingsFile(), damaged));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"Voltwise.conf is damaged"_qs));
        QCOMPARE(setting(u"Settings"_qs, u"AutoCheck"_qs, u"True"_qs), u"True"_qs);
        // Reported once, not at every read.
        QCOMPARE(setting(u"Settings"_qs, u"AutoCheck"_qs, u"True"_qs), u"True"_qs);
        QVERIFY(RegKeyExists(m_reg->store, kCurrentUser, kUser));
        QCOMPARE(ReadBytes(m_reg->settingsFile()), damaged);

        QVERIFY(SaveSetting(m_reg->store, {}, u"Settings"_qs, u"PlaySound"_qs, u"False"_qs));
        QCOMPARE(ReadBytes(m_reg->settingsFile() + u".damaged"_qs), damaged);
        QCOMPARE(setting(u"Settings"_qs, u"PlaySound"_qs), u"False"_qs);
        QCOMPARE(setting(u"Settings"_qs, u"AutoCheck"_qs, u"True"_qs), u"True"_qs);
    }

    void oversizedFileCountsAsDamaged()
    {
        // Valid settings, but beyond the size any save of the program makes.
        const QByteArray large = "[Settings]\nAutoCheck=False\nPad=" +
                                 QByteArray(QSettingsRegistryBackend::kMaxFileSize, 'x') + '\n';
        QVERIFY(WriteBytes(m_reg->settingsFile(), large));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"is damaged \\(larger than"_qs));
        QCOMPARE(setting(u"Settings"_qs, u"AutoCheck"_qs, u"True"_qs), u"True"_qs);
        QCOMPARE(setting(u"Settings"_qs, u"AutoCheck"_qs, u"True"_qs), u"True"_qs);

        QVERIFY(SaveSetting(m_reg->store, {}, u"Settings"_qs, u"PlaySound"_qs, u"False"_qs));
        QCOMPARE(ReadBytes(m_reg->settingsFile() + u".damaged"_qs), large);
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

    void directoriesFollowXdgEnvironment()
    {
        const QByteArray oldHome = qgetenv("XDG_CONFIG_HOME"), oldDirs = qgetenv("XDG_CONFIG_DIRS");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_reg->dir.path()));
        qputenv("XDG_CONFIG_DIRS", "/first/xdg:relative/ignored::/second");
        const RegistryDirectories dirs = RegistryDirectoriesFromEnvironment();
        qunsetenv("XDG_CONFIG_DIRS");
        const RegistryDirectories defaults = RegistryDirectoriesFromEnvironment();
        qputenv("XDG_CONFIG_HOME", oldHome);
        qputenv("XDG_CONFIG_DIRS", oldDirs);

        QCOMPARE(dirs.currentUser, m_reg->dir.path());
        QCOMPARE(dirs.localMachine, (QStringList{u"/first/xdg"_qs, u"/second"_qs}));
        QCOMPARE(defaults.localMachine, QStringList{u"/etc/xdg"_qs});
    }

    // AutoCheck, UpdateInterval, frmMain, Count, Blob and Own as found after
    // the import; only text values come across.
    void legacyImport_data()
    {
        QTest::addColumn<QByteArray>("legacy");  // empty: no legacy file
        QTest::addColumn<QByteArray>("current"); // empty: no current file
        QTest::addColumn<QString>("app");
        QTest::addColumn<bool>("force");
        QTest::addColumn<QString>("expected");
        const QString copied = u"False 180000 15,30,4500,3000,2 - - -"_qs;
        const QString nothing = u"- - - - - -"_qs;
        const QByteArray current = "[Settings]\nAutoCheck=True\nOwn=kept\n";
        const QString app = u"Voltwise"_qs;
        QTest::newRow("legacy only") << kLegacy << QByteArray() << app << false << copied;
        QTest::newRow("empty name is the title")
            << kLegacy << QByteArray() << QString() << false << copied;
        QTest::newRow("current exists")
            << kLegacy << current << app << false << u"True - - - - kept"_qs;
        QTest::newRow("current exists, forced")
            << kLegacy << current << app << true << u"False 180000 15,30,4500,3000,2 - - kept"_qs;
        QTest::newRow("no legacy") << QByteArray() << QByteArray() << app << false << nothing;
        QTest::newRow("legacy without sections")
            << QByteArray("Top=1\n") << QByteArray() << app << false << nothing;
    }

    void legacyImport()
    {
        QFETCH(QByteArray, legacy);
        QFETCH(QByteArray, current);
        QFETCH(QString, app);
        QFETCH(bool, force);
        QFETCH(QString, expected);
        QVERIFY(legacy.isEmpty() || WriteBytes(m_reg->legacyFile(), legacy));
        QVERIFY(current.isEmpty() || WriteBytes(m_reg->settingsFile(), current));

        ImportLegacySettings(m_reg->store, app, force);

        QCOMPARE(app, u"Voltwise"_qs);
        QStringList found;
        for (const char *key :
             {"Settings/AutoCheck", "Settings/UpdateInterval", "WindowSettings/frmMain",
              "Settings/Count", "Settings/Blob", "Settings/Own"}) {
            const QString k = QString::fromLatin1(key);
            found << setting(k.section(u'/', 0, 0), k.section(u'/', 1), u"-"_qs);
        }
        QCOMPARE(found.join(u' '), expected);
        QVERIFY(!expected.startsWith(u'-') || !QFile::exists(m_reg->settingsFile()));
        QCOMPARE(ReadBytes(m_reg->legacyFile()), legacy); // untouched
    }

    void startupImportTakesEffectAtOnce()
    {
        QVERIFY(WriteBytes(m_reg->legacyFile(), kLegacy));
        ImportLegacySettingsAtStartup(m_reg->store);
        const AppSettings loaded = LoadAppSettings(m_reg->store, QLocale::c());
        QCOMPARE(loaded.AutoCheck, false);
        QCOMPARE(loaded.UpdateInterval, 18);

        // Later starts find the key and copy nothing, whatever the legacy key holds.
        QVERIFY(SaveSetting(m_reg->store, {}, u"Settings"_qs, u"AutoCheck"_qs, u"True"_qs));
        ImportLegacySettingsAtStartup(m_reg->store);
        QCOMPARE(LoadAppSettings(m_reg->store, QLocale::c()).AutoCheck, true);
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
