// The settings store and the program's settings; QSettings is the reference
// for the file's text, which is read and written without it.
#include "settings/app_settings.h"
#include "settings/ini_codec.h"
#include "settings/ini_value.h"
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
#include <QScopeGuard>
#include <QSettings>

#include <memory>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace voltwise;

namespace {

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
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        QTest::newRow("text") << u"Text"_qs << u"abc"_qs;
        QTest::newRow("empty reads the default") << u"Empty"_qs << u"dflt"_qs;
        QTest::newRow("star is the unnamed value") << u"*"_qs << u"unnamed"_qs;
        QTest::newRow("cut at NUL") << u"Cut"_qs << u"ab"_qs;
        QTest::newRow("unquoted commas") << u"List"_qs << u"1,2"_qs;
    }

    void reads()
    {
        QFETCH(QString, key);
        QVERIFY(WriteBytes(m_reg->settingsFile(),
                           "[Settings]\nText=abc\nEmpty=\n%40=unnamed\nCut=ab\\0cd\nList=1, 2\n"));
        QTEST(GetSetting(m_reg->store, u"Voltwise"_qs, u"Settings"_qs, key, u"dflt"_qs),
              "expected");
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

    // Damaged, or valid but beyond the size any save of the program makes: read as defaults,
    // kept aside at the next save. Anything but a regular file would block reads or never end
    // them: read as defaults, never replaced.
    void badFileReadsDefaults_data()
    {
        QTest::addColumn<QByteArray>("damaged"); // empty: a socket, FIFO or device instead
        QTest::addColumn<QString>("warning");
        QTest::newRow("damaged") << QByteArray("[Settings]\nAutoCheck=False\n[Broken\n\x01 x\n")
                                 << u"Voltwise.conf is damaged"_qs;
        QTest::newRow("oversized") << "[Settings]\nAutoCheck=False\nPad=" +
                                          QByteArray(QSettingsRegistryBackend::kMaxFileSize, 'x')
                                   << u"is damaged \\(larger than"_qs;
        for (const char *kind : {"socket", "fifo", "device"})
            QTest::newRow(kind) << QByteArray() << u"Voltwise.conf is unreadable"_qs;
    }

    void badFileReadsDefaults()
    {
        QFETCH(QByteArray, damaged);
        QFETCH(QString, warning);
        const mode_t umask = ::umask(0); // the saved file and its damaged copy are private anyway
        const auto restoreUmask = qScopeGuard([umask] { ::umask(umask); });
        const QString file = m_reg->settingsFile();
        QVERIFY(QDir().mkpath(m_reg->userFile(u"Ternwood"_qs)));
        const QByteArray kind = QTest::currentDataTag();
        QLocalServer socket;
        if (!damaged.isEmpty())
            QVERIFY(WriteBytes(file, damaged));
        else if (kind == "socket")
            QVERIFY(socket.listen(file));
        else if (kind == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        else if (::geteuid() != 0)
            QVERIFY(QFile::link(u"/dev/zero"_qs, file));
        else // a private node: as root, a faulty save would replace the shared /dev/zero
            QCOMPARE(::mknod(QFile::encodeName(file).constData(), S_IFCHR | 0600, makedev(1, 5)),
                     0);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warning));
        QCOMPARE(setting(u"Settings"_qs, u"AutoCheck"_qs, u"True"_qs), u"True"_qs);
        if (damaged.isEmpty()) {
            QVERIFY(!SaveSetting(m_reg->store, {}, u"Settings"_qs, u"K"_qs, u"v"_qs));
            QVERIFY(!m_reg->store.deleteKey(kCurrentUser, u"Software\\Ternwood\\Voltwise"_qs));
            QVERIFY(QFileInfo::exists(file) && !QFileInfo(file).isFile());
            return;
        }
        QCOMPARE(ReadBytes(file), damaged);
        QVERIFY(SaveSetting(m_reg->store, {}, u"Settings"_qs, u"PlaySound"_qs, u"False"_qs));
        QCOMPARE(ReadBytes(file + u".damaged"_qs), damaged);
        const auto ownerOnly =
            QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
        QCOMPARE(QFile::permissions(file), ownerOnly);
        QCOMPARE(QFile::permissions(file + u".damaged"_qs), ownerOnly);
        QCOMPARE(setting(u"Settings"_qs, u"PlaySound"_qs), u"False"_qs);
        QCOMPARE(setting(u"Settings"_qs, u"AutoCheck"_qs, u"True"_qs), u"True"_qs);
    }

    // Only text values come across, once: later starts copy nothing over what is there.
    void legacyImportAtStartup()
    {
        QVERIFY(WriteBytes(m_reg->legacyFile(), kLegacy));
        ImportLegacySettingsAtStartup(m_reg->store);
        const AppSettings loaded = LoadAppSettings(m_reg->store, QLocale::c());
        QCOMPARE(loaded.AutoCheck, false);
        QCOMPARE(loaded.UpdateInterval, 18);
        QCOMPARE(setting(u"Settings"_qs, u"Count"_qs) + setting(u"Settings"_qs, u"Blob"_qs),
                 u""_qs);

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
        row("half to even, down", k::GraphValues, u"2,5"_qs, "2");
        row("up to a NUL", k::GraphValues,
            QString(u"7\0"
                    "8"_qs),
            "7");
        row("too large", k::GraphValues, u"2147483648"_qs, "15");
        row("interval up to 10000 stays", k::UpdateInterval, u"10000"_qs, "10000");
        row("interval above is divided", k::UpdateInterval, u"10001"_qs, "1");
        row("remainder dropped", k::UpdateInterval, u"99999"_qs, "9");
        row("interval rounds to zero", k::UpdateInterval, u"0,4"_qs, "3");
        row("style in any case", k::NoticeStyle, u" dESKTOP "_qs, "Desktop");
        row("window style", k::NoticeStyle, u"window"_qs, "Window");
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

    // Every key read, missing or not convertible: saved again, it is the table's default.
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
        const QString written = GetSetting(saved.store, {}, key.section, key.name, u"<missing>"_qs);
        if (&key == &SettingKeys::NoticeStyle) { // only the user writes it
            QCOMPARE(written, u"<missing>"_qs);
            QCOMPARE(AppSettingsTexts(settings).value(key.name), QString(key.defaultText));
        } else {
            QCOMPARE(written, QString(key.defaultText));
        }
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
        const ServerUrls loaded = LoadServerUrls(m_reg->store);
        for (const auto &[key, member] : servers)
            QCOMPARE(loaded.*member, expected.isEmpty() ? defaults.*member : QUrl(expected));
        QCOMPARE(loaded.gridContent, defaults.gridContent);
    }

    void writesAsQSettings_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::newRow("separators, quotes, backslashes") << u"S/K"_qs << u"1,2;3=4 \"C:\\x\""_qs;
        QTest::newRow("controls, beyond ASCII")
            << u"S/K"_qs << u"\n\t\r\a\b\f\v\x01\x1f Zürich € \U0001F50C \x7f"_qs;
        QTest::newRow("escaped names") << u"My Section/sub/k%ü€"_qs << u"v"_qs;
    }

    void writesAsQSettings()
    {
        QFETCH(QString, key);
        QFETCH(QString, text);
        const QString path = freshFile();
        {
            QSettings settings(path, QSettings::IniFormat);
            settings.setValue(key, text);
        }
        const QByteArray written = ReadBytes(path);
        QCOMPARE(SerializeIni({{key, IniTextValue(text)}}), written);

        const std::optional<IniEntries> read = ParseIni(written);
        QVERIFY(read);
        QCOMPARE(read->keys(), QStringList{key});
        QCOMPARE(IniValueData(read->value(key)), QVariant(text));
    }

    // Read as QSettings reads them, damaged or not.
    void readsAsQSettings_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("damaged");
        const auto row = [](const char *title, const char *file, bool damaged = false) {
            QTest::newRow(title) << QByteArray(file) << damaged;
        };
        row("list", "[S]\nK=1, \"2,3\" , 4 \n");
        row("escapes", "[S]\nK=\\x41\\101\\q\\\"\\\\\\t \n");
        row("quotes over lines", "[S]\nK=\"a\nb\"\nL=c\n");
        row("byte array", "[S]\nK=@ByteArray(\\x1raw)\n");
        row("number, list of texts", "[S]\nK=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\n"
                                     "L=@Variant(\\0\\0\\0\\v\\0\\0\\0\\x1\\0\\0\\0\\x2\\0x)\n");
        row("General sections", "[general]\nK=top\n[%General]\nK=own\n");
        row("escaped names", "[My%20Section]\nsub\\k%U20AC=v\n");
        row("repeated key, repeated section", "[S]\nK=1\n[T]\nK=2\n[S]\nK=3\n");
        row("comments and blanks", "; c\n\n[S]\n ;c\nK=v\n");
        row("line without equals", "[S]\nK=v\ngarbage\n", true);
        row("equals in quotes only", "[S]\n\"a=b\"\n", true);
    }

    void readsAsQSettings()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, damaged);
        QSettings settings(freshFile(file), QSettings::IniFormat);
        const QStringList keys = settings.allKeys(); // parses every section
        QCOMPARE(settings.status() == QSettings::FormatError, damaged);
        const std::optional<IniEntries> read = ParseIni(file);
        QCOMPARE(!read, damaged);
        if (damaged)
            return;
        QCOMPARE(read->keys(), keys);
        for (auto it = read->cbegin(); it != read->cend(); ++it)
            QCOMPARE(IniValueData(it.value()), settings.value(it.key()));
    }

private:
    // A name QSettings has never seen, so that its cache cannot answer.
    QString freshFile(const QByteArray &text = {})
    {
        const QString path = m_reg->dir.filePath(u"ini/%1.conf"_qs.arg(++m_files));
        return WriteBytes(path, text) ? path : QString();
    }
    int m_files = 0;

    QString setting(const QString &section, const QString &key, const QString &dflt = {}) const
    {
        return GetSetting(m_reg->store, {}, section, key, dflt);
    }
    std::unique_ptr<TempRegistry> m_reg;
};

QTEST_GUILESS_MAIN(TestRegistryStore)
#include "test_registry_store.moc"
