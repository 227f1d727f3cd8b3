#include "settings/registry_operations.h"
#include "settings_test_support.h"

#include <QDateTime>
#include <QFileInfo>
#include <QRegularExpression>

#include <memory>

using namespace voltwise;

namespace {

const QString kUser = u"Software\\Ternwood\\Voltwise"_qs;

} // namespace

class TestRegistryStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void getSetting_data();
    void getSetting();
    void saveSettingWritesReadableFile();
    void deleteSetting_data();
    void deleteSetting();
    void keysAndEnumeration();
    void regGetValueTypes_data();
    void regGetValueTypes();
    void regValuesRoundTrip();
    void machineRootReadsFirstHolderAndRefusesWrites();
    void unsafePathsFail_data();
    void unsafePathsFail();
    void fileReplacedWithinOneTickIsReadAfresh();
    void damagedFileReadsDefaultsUntilSaved();
    void unreadableFileIsNeverOverwritten();
    void fileUnparsedForWantOfScratchSpaceIsKept();
    void directoriesFollowXdgEnvironment();

private:
    std::unique_ptr<TempRegistry> m_reg;
};

void TestRegistryStore::init()
{
    m_reg = std::make_unique<TempRegistry>();
    QVERIFY(m_reg->dir.isValid());
}

void TestRegistryStore::getSetting_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    const QByteArray file = "[Settings]\nText=abc\nEmpty=\n%40=unnamed\nCut=ab\\0cd\n"
                            "Typed=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\nList=1, 2\n";
    QTest::newRow("no file") << QByteArray() << u"Text"_qs << u"dflt"_qs;
    QTest::newRow("stored") << file << u"Text"_qs << u"abc"_qs;
    QTest::newRow("missing value") << file << u"Other"_qs << u"dflt"_qs;
    QTest::newRow("empty value reads default") << file << u"Empty"_qs << u"dflt"_qs;
    QTest::newRow("star is the unnamed value") << file << u"*"_qs << u"unnamed"_qs;
    QTest::newRow("cut at NUL") << file << u"Cut"_qs << u"ab"_qs;
    QTest::newRow("number as text") << file << u"Typed"_qs << u"5"_qs;
    QTest::newRow("unquoted commas") << file << u"List"_qs << u"1,2"_qs;
}

void TestRegistryStore::getSetting()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    if (!file.isEmpty())
        QVERIFY(WriteBytes(m_reg->settingsFile(), file));
    QCOMPARE(GetSetting(m_reg->store, u"Voltwise"_qs, u"Settings"_qs, key, u"dflt"_qs), expected);
}

void TestRegistryStore::saveSettingWritesReadableFile()
{
    QVERIFY(!RegKeyExists(m_reg->store, RegistryRoot::CurrentUser, kUser));
    QVERIFY(SaveSetting(m_reg->store, QString(), u"Settings"_qs, u"PlaySound"_qs, u"False"_qs));
    QVERIFY(SaveSetting(m_reg->store, u"Voltwise"_qs, u"WindowSettings"_qs, u"frmMain"_qs,
                        u"1440,1080,7500,5400,0"_qs));
    QVERIFY(SaveSetting(m_reg->store, u"Voltwise"_qs, u"Settings"_qs, u"Nul"_qs, u"x\0y"_qs));
    QVERIFY(RegKeyExists(m_reg->store, RegistryRoot::CurrentUser, kUser));

    const QString text = QString::fromUtf8(ReadBytes(m_reg->settingsFile()));
    QVERIFY2(text.contains(u"[Settings]\n"_qs) && text.contains(u"\nPlaySound=False\n"_qs),
             qPrintable(text));
    QVERIFY2(text.contains(u"[WindowSettings]\nfrmMain=\"1440,1080,7500,5400,0\"\n"_qs),
             qPrintable(text));
    QCOMPARE(GetSetting(m_reg->store, {}, u"WindowSettings"_qs, u"frmMain"_qs, {}),
             u"1440,1080,7500,5400,0"_qs);
    QCOMPARE(GetSetting(m_reg->store, {}, u"Settings"_qs, u"Nul"_qs, {}), u"x"_qs);
}

void TestRegistryStore::deleteSetting_data()
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

void TestRegistryStore::deleteSetting()
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
        RegEnumStringValues(m_reg->store, RegistryRoot::CurrentUser, kUser + u'\\' + s, names,
                            data);
        for (const QString &name : names)
            left.append(s + u'/' + (name.isEmpty() ? u"@"_qs : name));
    }
    QCOMPARE(left.join(u' '), remaining);
}

void TestRegistryStore::keysAndEnumeration()
{
    QVERIFY(WriteBytes(m_reg->settingsFile(),
                       "[General]\nTop=t\n[Settings]\nA=a\nB=@ByteArray(raw)\nSub\\C=c\n"
                       "[WindowSettings]\nfrmMain=\"1,2,3,4,0\"\n"));
    auto &store = m_reg->store;
    const auto cu = RegistryRoot::CurrentUser;
    QVERIFY(RegKeyExists(store, cu, u"Software"_qs));
    QVERIFY(RegKeyExists(store, cu, u"Software\\Ternwood"_qs));
    QVERIFY(RegKeyExists(store, cu, kUser + u"\\Settings\\Sub"_qs));
    QVERIFY(!RegKeyExists(store, cu, kUser + u"\\Missing"_qs));
    QVERIFY(!RegKeyExists(store, cu, u"Software\\Ternwood\\Other"_qs));
    QVERIFY(!RegKeyExists(store, RegistryRoot::LocalMachine, kUser));

    QStringList names{u"stale"_qs};
    QVERIFY(RegEnumSubKeys(store, cu, kUser, names));
    QCOMPARE(names, (QStringList{u"Settings"_qs, u"WindowSettings"_qs}));
    QVERIFY(RegEnumSubKeys(store, cu, u"Software\\Ternwood"_qs, names));
    QCOMPARE(names, QStringList{u"Voltwise"_qs});
    QVERIFY(!RegEnumSubKeys(store, cu, kUser + u"\\WindowSettings"_qs, names));
    QVERIFY(names.isEmpty());
    names = {u"kept"_qs};
    QVERIFY(!RegEnumSubKeys(store, cu, kUser + u"\\Missing"_qs, names));
    QCOMPARE(names, QStringList{u"kept"_qs});

    QStringList data;
    names.clear();
    QVERIFY(RegEnumStringValues(store, cu, kUser + u"\\Settings"_qs, names, data));
    QCOMPARE(names, QStringList{u"A"_qs}); // the byte value and the subkey are left out
    QCOMPARE(data, QStringList{u"a"_qs});
    names.clear();
    data.clear();
    QVERIFY(RegEnumStringValues(store, cu, kUser, names, data));
    QCOMPARE(names, QStringList{u"Top"_qs});
    QVERIFY(!RegEnumStringValues(store, cu, kUser + u"\\Missing"_qs, names, data));
}

void TestRegistryStore::regGetValueTypes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("text keeps its last character") << u"Text"_qs << true << QVariant(u"abc"_qs);
    QTest::newRow("number") << u"Number"_qs << true << QVariant::fromValue(qint32(5));
    QTest::newRow("bytes") << u"Bytes"_qs << true << QVariant(QByteArray("raw"));
    QTest::newRow("unnamed") << QString() << true << QVariant(u"default"_qs);
    QTest::newRow("missing") << u"None"_qs << false << QVariant();
    QTest::newRow("name with slash") << u"a/b"_qs << false << QVariant();
}

void TestRegistryStore::regGetValueTypes()
{
    QFETCH(QString, name);
    QFETCH(bool, found);
    QFETCH(QVariant, expected);
    QVERIFY(WriteBytes(m_reg->settingsFile(),
                       "[S]\nText=abc\nNumber=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\n"
                       "Bytes=@ByteArray(raw)\n%40=default\n"));
    QVariant data = u"untouched"_qs;
    QCOMPARE(RegGetValue(m_reg->store, RegistryRoot::CurrentUser, kUser + u"\\S"_qs, name, data),
             found);
    if (found) {
        QCOMPARE(data.typeId(), expected.typeId());
        QCOMPARE(data, expected);
    } else {
        QCOMPARE(data, QVariant(u"untouched"_qs));
    }
}

void TestRegistryStore::regValuesRoundTrip()
{
    const QString run = u"Software\\Microsoft\\Windows\\CurrentVersion\\Run"_qs;
    auto &store = m_reg->store;
    const auto cu = RegistryRoot::CurrentUser;
    QVERIFY(RegSetStringValue(store, cu, run, u"Voltwise"_qs, u"/opt/voltwise/VOLTWISE.EXE"_qs));
    QVERIFY(QFileInfo::exists(m_reg->userFile(u"Microsoft/Windows.conf"_qs)));
    QVariant data;
    QVERIFY(RegGetValue(store, cu, run, u"Voltwise"_qs, data));
    QCOMPARE(data.toString(), u"/opt/voltwise/VOLTWISE.EXE"_qs);
    QVERIFY(RegDeleteValue(store, cu, run, u"Voltwise"_qs));
    QVERIFY(!RegDeleteValue(store, cu, run, u"Voltwise"_qs));
    QVERIFY(!RegGetValue(store, cu, run, u"Voltwise"_qs, data));
    QVERIFY(!RegSetStringValue(store, cu, u"Software\\Ternwood"_qs, u"x"_qs, u"y"_qs));
}

void TestRegistryStore::machineRootReadsFirstHolderAndRefusesWrites()
{
    const auto lm = RegistryRoot::LocalMachine;
    QVERIFY(
        WriteBytes(m_reg->dir.filePath(u"machine2/Ternwood/Voltwise.conf"_qs), "[S]\nK=second\n"));
    QCOMPARE(GetSetting(m_reg->store, {}, u"S"_qs, u"K"_qs, u"none"_qs), u"none"_qs);
    QVariant data;
    QVERIFY(RegGetValue(m_reg->store, lm, kUser + u"\\S"_qs, u"K"_qs, data));
    QCOMPARE(data.toString(), u"second"_qs);
    QVERIFY(
        WriteBytes(m_reg->dir.filePath(u"machine1/Ternwood/Voltwise.conf"_qs), "[S]\nK=first\n"));
    QVERIFY(RegGetValue(m_reg->store, lm, kUser + u"\\S"_qs, u"K"_qs, data));
    QCOMPARE(data.toString(), u"first"_qs);

    // A system directory the user cannot write: here one that cannot even be created.
    QVERIFY(WriteBytes(m_reg->dir.filePath(u"plainfile"_qs), "x"));
    QSettingsRegistryBackend locked(
        {m_reg->dir.filePath(u"user"_qs), {m_reg->dir.filePath(u"plainfile/xdg"_qs)}});
    QVERIFY(!RegSetStringValue(locked, lm, u"Software\\Microsoft\\Windows\\CurrentVersion\\Run"_qs,
                               u"Voltwise"_qs, u"x"_qs));
    QVERIFY(!RegDeleteValue(locked, lm, kUser + u"\\S"_qs, u"K"_qs));
}

void TestRegistryStore::unsafePathsFail_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("outside Software") << u"Environment\\Ternwood\\Voltwise"_qs;
    QTest::newRow("parent directory") << u"Software\\..\\..\\escape\\S"_qs;
    QTest::newRow("slash in name") << u"Software\\a/b\\c"_qs;
    QTest::newRow("dot") << u"Software\\.\\x"_qs;
}

void TestRegistryStore::unsafePathsFail()
{
    QFETCH(QString, path);
    QVERIFY(!RegSetStringValue(m_reg->store, RegistryRoot::CurrentUser, path, u"K"_qs, u"v"_qs));
    QVERIFY(!RegKeyExists(m_reg->store, RegistryRoot::CurrentUser, path));
    QCOMPARE(QDir(m_reg->dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList());
}

void TestRegistryStore::fileReplacedWithinOneTickIsReadAfresh()
{
    QVERIFY(SaveSetting(m_reg->store, {}, u"S"_qs, u"K"_qs, u"AAAA"_qs));
    QCOMPARE(GetSetting(m_reg->store, {}, u"S"_qs, u"K"_qs, {}), u"AAAA"_qs);
    const QString path = m_reg->settingsFile();
    const QDateTime stamp = QFileInfo(path).lastModified();
    QByteArray text = ReadBytes(path);
    text.replace("AAAA", "BBBB");
    QVERIFY(WriteBytes(path, text));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(stamp, QFileDevice::FileModificationTime));
    file.close();
    QCOMPARE(GetSetting(m_reg->store, {}, u"S"_qs, u"K"_qs, {}), u"BBBB"_qs);
    QVERIFY(SaveSetting(m_reg->store, {}, u"S"_qs, u"L"_qs, u"x"_qs));
    QCOMPARE(GetSetting(m_reg->store, {}, u"S"_qs, u"K"_qs, {}), u"BBBB"_qs);
}

void TestRegistryStore::damagedFileReadsDefaultsUntilSaved()
{
    const QByteArray damaged =
        "[Settings]\nAutoCheck=False\n[Broken\n\x01\x02 garbage without equals\n";
    QVERIFY(WriteBytes(m_reg->settingsFile(), damaged));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"Voltwise.conf is damaged"_qs));
    QCOMPARE(GetSetting(m_reg->store, {}, u"Settings"_qs, u"AutoCheck"_qs, u"True"_qs), u"True"_qs);
    // Reported once, not at every read.
    QCOMPARE(GetSetting(m_reg->store, {}, u"Settings"_qs, u"AutoCheck"_qs, u"True"_qs), u"True"_qs);
    QVERIFY(RegKeyExists(m_reg->store, RegistryRoot::CurrentUser, kUser));
    QCOMPARE(ReadBytes(m_reg->settingsFile()), damaged);

    QVERIFY(SaveSetting(m_reg->store, {}, u"Settings"_qs, u"PlaySound"_qs, u"False"_qs));
    QCOMPARE(ReadBytes(m_reg->settingsFile() + u".damaged"_qs), damaged);
    QCOMPARE(GetSetting(m_reg->store, {}, u"Settings"_qs, u"PlaySound"_qs, {}), u"False"_qs);
    QCOMPARE(GetSetting(m_reg->store, {}, u"Settings"_qs, u"AutoCheck"_qs, u"True"_qs), u"True"_qs);
}

void TestRegistryStore::unreadableFileIsNeverOverwritten()
{
    QVERIFY(QDir().mkpath(m_reg->settingsFile())); // a directory where the file should be
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"Voltwise.conf is unreadable"_qs));
    QCOMPARE(GetSetting(m_reg->store, {}, u"Settings"_qs, u"K"_qs, u"dflt"_qs), u"dflt"_qs);
    QVERIFY(!RegKeyExists(m_reg->store, RegistryRoot::CurrentUser, kUser));
    QVERIFY(!SaveSetting(m_reg->store, {}, u"Settings"_qs, u"K"_qs, u"v"_qs));
    QVERIFY(QFileInfo(m_reg->settingsFile()).isDir());
}

void TestRegistryStore::fileUnparsedForWantOfScratchSpaceIsKept()
{
    const QByteArray good = "[Settings]\nAutoCheck=False\n\n[Servers]\nGridMain=http://a\n";
    QVERIFY(WriteBytes(m_reg->settingsFile(), good));
    const QByteArray oldTemp = qgetenv("TMPDIR");
    const QString notADirectory = m_reg->dir.filePath(u"a-file"_qs);
    QVERIFY(WriteBytes(notADirectory, "x"));
    qputenv("TMPDIR", QFile::encodeName(notADirectory));
    QSettingsRegistryBackend store(m_reg->directories());
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"Voltwise.conf is unreadable"_qs));
    const QString read = GetSetting(store, {}, u"Settings"_qs, u"AutoCheck"_qs, u"dflt"_qs);
    const bool saved = SaveSetting(store, {}, u"Settings"_qs, u"K"_qs, u"v"_qs);
    qputenv("TMPDIR", oldTemp);

    QCOMPARE(read, u"dflt"_qs);
    QVERIFY(!saved); // saving would have dropped every key it could not read
    QCOMPARE(ReadBytes(m_reg->settingsFile()), good);
}

void TestRegistryStore::directoriesFollowXdgEnvironment()
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
    QSettingsRegistryBackend store(dirs);
    QVERIFY(SaveSetting(store, {}, u"Settings"_qs, u"K"_qs, u"v"_qs));
    QVERIFY(QFileInfo::exists(home + u"/Ternwood/Voltwise.conf"_qs));
}

QTEST_GUILESS_MAIN(TestRegistryStore)
#include "test_registry_store.moc"
