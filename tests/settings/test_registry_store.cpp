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
        QFETCH(QString, expected);
        QVERIFY(WriteBytes(m_reg->settingsFile(),
                           "[General]\nTop=t\n"
                           "[Settings]\nText=abc\nEmpty=\n%40=unnamed\nCut=ab\\0cd\nList=1, 2\n"
                           "Number=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\nBytes=@ByteArray(raw)\n"
                           "[E]\nA=a\nB=@ByteArray(raw)\nSub\\C=c\n"
                           "[WindowSettings]\nfrmMain=\"1,2,3,4,0\"\n"));
        const RegistryBackend &store = m_reg->store;
        if (operation == u"setting") {
            QCOMPARE(GetSetting(store, u"Voltwise"_qs, path, name, u"dflt"_qs), expected);
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
        QCOMPARE((QStringList{QString::number(done)} + got).join(u' '), expected);
    }

    void deleteSetting_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("remaining"); // "Section/Key" of the values left
        const QString all = u"Settings/@ Settings/A Settings/B Window/W"_qs;
        QTest::newRow("value") << u"Settings"_qs << u"A"_qs << true
                               << u"Settings/@ Settings/B Window/W"_qs;
        QTest::newRow("unnamed value")
            << u"Settings"_qs << u"*"_qs << true << u"Settings/A Settings/B Window/W"_qs;
        QTest::newRow("missing value") << u"Settings"_qs << u"C"_qs << false << all;
        QTest::newRow("whole section") << u"Settings"_qs << QString() << true << u"Window/W"_qs;
        QTest::newRow("missing section") << u"Other"_qs << QString() << false << all;
        QTest::newRow("no section, no key") << QString() << QString() << false << all;
    }

    void deleteSetting()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(bool, result);
        QFETCH(QString, remaining);
        QVERIFY(!DeleteSetting(m_reg->store, {}, u"Settings"_qs, u"A"_qs)); // nothing stored yet
        QVERIFY(SaveSettings(m_reg->store, {}, u"Settings"_qs,
                             {{u"A"_qs, u"1"_qs}, {u"B"_qs, u"2"_qs}, {u"*"_qs, u"3"_qs}}));
        QVERIFY(SaveSetting(m_reg->store, {}, u"Window"_qs, u"W"_qs, u"4"_qs));

        QCOMPARE(DeleteSetting(m_reg->store, {}, section, key), result);
        QStringList left;
        for (const QString &s : {u"Settings"_qs, u"Window"_qs}) {
            QStringList names;
            QStringList data;
            RegEnumStringValues(m_reg->store, kCurrentUser, kUser + u'\\' + s, names, data);
            for (const QString &name : names)
                left.append(s + u'/' + (name.isEmpty() ? u"@"_qs : name));
        }
        QCOMPARE(left.join(u' '), remaining);
    }

    void valuesOutsideTheProgramsKey()
    {
        const QString run = u"Software\\Microsoft\\Windows\\CurrentVersion\\Run"_qs;
        auto &store = m_reg->store;
        QVERIFY(
            RegSetStringValue(store, kCurrentUser, run, u"Voltwise"_qs, u"/opt/VOLTWISE.EXE"_qs));
        QVERIFY(QFileInfo::exists(m_reg->userFile(u"Microsoft/Windows.conf"_qs)));
        QVariant data;
        QVERIFY(RegGetValue(store, kCurrentUser, run, u"Voltwise"_qs, data));
        QCOMPARE(data.toString(), u"/opt/VOLTWISE.EXE"_qs);
        QVERIFY(RegDeleteValue(store, kCurrentUser, run, u"Voltwise"_qs));
        QVERIFY(!RegDeleteValue(store, kCurrentUser, run, u"Voltwise"_qs));
        QVERIFY(!RegGetValue(store, kCurrentUser, run, u"Voltwise"_qs, data));
        QVERIFY(
            !RegSetStringValue(store, kCurrentUser, u"Software\\Ternwood"_qs, u"x"_qs, u"y"_qs));
    }

    void machineRootReadsFirstHolderAndRefusesWrites()
    {
        const auto lm = RegistryRoot::LocalMachine;
        QVERIFY(!RegKeyExists(m_reg->store, lm, kUser));
        QVERIFY(WriteBytes(m_reg->dir.filePath(u"machine2/Ternwood/Voltwise.conf"_qs),
                           "[S]\nK=second\n"));
        QCOMPARE(setting(u"S"_qs, u"K"_qs, u"none"_qs), u"none"_qs);
        QVariant data;
        QVERIFY(RegGetValue(m_reg->store, lm, kUser + u"\\S"_qs, u"K"_qs, data));
        QCOMPARE(data.toString(), u"second"_qs);
        QVERIFY(WriteBytes(m_reg->dir.filePath(u"machine1/Ternwood/Voltwise.conf"_qs),
                           "[S]\nK=first\n"));
        QVERIFY(RegGetValue(m_reg->store, lm, kUser + u"\\S"_qs, u"K"_qs, data));
        QCOMPARE(data.toString(), u"first"_qs);

        // A system directory the user cannot write: here one that cannot even be created.
        QVERIFY(WriteBytes(m_reg->dir.filePath(u"plainfile"_qs), "x"));
        QSettingsRegistryBackend locked(
            {m_reg->dir.filePath(u"user"_qs), {m_reg->dir.filePath(u"plainfile/xdg"_qs)}});
        QVERIFY(!RegSetStringValue(locked, lm,
                                   u"Software\\Microsoft\\Windows\\CurrentVersion\\Run"_qs,
                                   u"Voltwise"_qs, u"x"_qs));
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
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(stamp, QFileDevice::FileModificationTime));
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

    void needsNoTemporaryDirectory()
    {
        QVERIFY(WriteBytes(m_reg->settingsFile(), "[Servers]\nGridMain=http://a\n"));
        const QByteArray oldTemp = qgetenv("TMPDIR");
        const QString notADirectory = m_reg->dir.filePath(u"a-file"_qs);
        QVERIFY(WriteBytes(notADirectory, "x"));
        qputenv("TMPDIR", QFile::encodeName(notADirectory));
        QSettingsRegistryBackend store(m_reg->directories());
        const bool saved = SaveSetting(store, {}, u"Settings"_qs, u"K"_qs, u"v"_qs);
        const QString read = GetSetting(store, {}, u"Servers"_qs, u"GridMain"_qs, u"dflt"_qs);
        qputenv("TMPDIR", oldTemp);

        QVERIFY(saved);
        QCOMPARE(read, u"http://a"_qs);
        QCOMPARE(ReadBytes(m_reg->settingsFile()),
                 "[Servers]\nGridMain=http://a\n\n[Settings]\nK=v\n");
    }

    void directoriesFollowXdgEnvironment()
    {
        const QByteArray oldHome = qgetenv("XDG_CONFIG_HOME");
        const QByteArray oldDirs = qgetenv("XDG_CONFIG_DIRS");
        const QString home = m_reg->dir.filePath(u"xdg-home"_qs);
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home));
        qputenv("XDG_CONFIG_DIRS", "/first/xdg:relative/ignored::/second");
        const RegistryDirectories dirs = RegistryDirectoriesFromEnvironment();
        qunsetenv("XDG_CONFIG_DIRS");
        const RegistryDirectories defaults = RegistryDirectoriesFromEnvironment();
        qputenv("XDG_CONFIG_HOME", oldHome);
        qputenv("XDG_CONFIG_DIRS", oldDirs);

        QCOMPARE(dirs.currentUser, home);
        QCOMPARE(dirs.localMachine, (QStringList{u"/first/xdg"_qs, u"/second"_qs}));
        QCOMPARE(defaults.localMachine, QStringList{u"/etc/xdg"_qs});
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
