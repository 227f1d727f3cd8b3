// What the program asks of the desktop: a browser, a start-at-login entry
// (an XDG autostart file in a temporary directory) and its chime.
#include "platform/browser.h"
#include "platform/data_files.h"
#include "platform/late_wave_output.h"
#include "platform/recording_browser_opener.h"
#include "platform/sound_player.h"
#include "platform/startup_entry.h"
#include "support/files.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>

using namespace voltwise;
using namespace voltwise::testing;

namespace {

// Stands for the audio device: what the player asked it to do.
class RecordingWaveOutput final : public WaveOutput
{
public:
    explicit RecordingWaveOutput(QStringList &requests)
        : m_requests(requests)
    {}
    void play(const QString &absolutePath) override { m_requests << absolutePath; }
    void stop() override { m_requests << u"silence"_qs; }

private:
    QStringList &m_requests;
};
} // namespace

class TestDesktopServices : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void prefixAndOpen_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("prefixed");
        QTest::addColumn<bool>("opened");
        const auto add = [](const char *name, const QString &url, const QString &prefixed,
                            bool opened) {
            QTest::newRow(name) << url << prefixed << opened;
        };
        add("capital scheme", u"HTTP://WWW.CAISO.COM/"_qs, u"HTTP://WWW.CAISO.COM/"_qs, true);
        add("bare host", u"www.pge.com/myhome/"_qs, u"http://www.pge.com/myhome/"_qs, true);
        add("empty", {}, u"http://"_qs, false);
        add("other scheme", u"ftp://x.example"_qs, u"http://ftp://x.example"_qs, true);
        add("blank before the scheme", u" http://x"_qs, u"http:// http://x"_qs, false);
        add("look-alike scheme", u"httpx://run.example"_qs, u"httpx://run.example"_qs, false);
    }

    void prefixAndOpen()
    {
        QFETCH(QString, url);
        QFETCH(QString, prefixed);
        QFETCH(bool, opened);
        QCOMPARE(WithHttpPrefix(url), prefixed);
        RecordingBrowserOpener opener;
        QCOMPARE(OpenInBrowser(url, opener), opened);
        QCOMPARE(url, prefixed);
        QCOMPARE(opener.opened, opened ? QStringList{prefixed} : QStringList{});
        opener.accepts = false; // the desktop refuses
        QVERIFY(!OpenInBrowser(url, opener));
    }

    void execLineRoundTrips_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("exec"); // as written in the file
        QTest::newRow("space") << u"/opt/My Apps/voltwise"_qs << u"\"/opt/My Apps/voltwise\""_qs;
        QTest::newRow("double quotes")
            << u"/opt/a \"b\"/voltwise"_qs << u"\"/opt/a \\\\\"b\\\\\"/voltwise\""_qs;
        QTest::newRow("quote, dollar, backslash, percent")
            << u"/opt/it's $HOME/100%/volt\\wise"_qs
            << u"\"/opt/it's \\\\$HOME/100%%/volt\\\\\\\\wise\""_qs;
    }

    void execLineRoundTrips()
    {
        QFETCH(QString, program);
        QFETCH(QString, exec);
        QTemporaryDir dir;
        XdgAutostartEntry entry(dir.filePath(u"autostart"_qs), program);
        QVERIFY(entry.registerProgram());

        QCOMPARE(QString::fromUtf8(ReadBytes(entry.filePath())),
                 u"[Desktop Entry]\nType=Application\nName=Voltwise\nExec="_qs + exec +
                     u"\nX-GNOME-Autostart-enabled=true\n"_qs);
        QCOMPARE(DesktopExecArguments(exec), QStringList{program});
        QCOMPARE(entry.registeredProgram(), std::optional(program));

        QVERIFY(entry.unregister());
        QVERIFY(!entry.isRegistered());
        QVERIFY(!entry.unregister()); // nothing left to remove
    }

    void readsWhatTheDesktopWould_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("program"); // empty: not registered
        QTest::newRow("with arguments and other keys")
            << QByteArray("# mine\n[Desktop Entry]\nName=V\nExec = \"/a b/v\" --x\n")
            << u"/a b/v"_qs;
        QTest::newRow("hidden") << QByteArray("[Desktop Entry]\nExec=/v\nHidden=true\n")
                                << QString();
        QTest::newRow("command in another group")
            << QByteArray("[Desktop Entry]\nName=V\n[Desktop Action x]\nExec=/v\n") << QString();
    }

    void readsWhatTheDesktopWould()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, program);
        QTemporaryDir dir;
        XdgAutostartEntry entry(dir.path(), u"/usr/bin/voltwise"_qs);
        QVERIFY(WriteBytes(entry.filePath(), content));
        QCOMPARE(entry.registeredProgram().value_or(QString()), program);
        QCOMPARE(entry.isRegistered(), !program.isEmpty());
    }

    void unwritableDirectoryFailsQuietly()
    {
        QTemporaryDir dir;
        QVERIFY(WriteBytes(dir.filePath(u"file"_qs), "x"));
        // A directory below a plain file can be made by no one, not even root.
        XdgAutostartEntry entry(dir.filePath(u"file/autostart"_qs), u"/usr/bin/voltwise"_qs);
        QVERIFY(!entry.registerProgram());
        QVERIFY(!entry.unregister());
    }

    void dataFilePath_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("expected");
        const QString beside = u"bin/notice.wav"_qs;
        const QString installed = u"share/voltwise/notice.wav"_qs;
        const QString xdg1 = u"xdg1/voltwise/notice.wav"_qs;
        const QString xdg2 = u"xdg2/voltwise/notice.wav"_qs;
        QTest::newRow("beside the program") << QStringList{beside} << beside;
        QTest::newRow("beside wins") << QStringList{installed, beside} << beside;
        QTest::newRow("installed before XDG") << QStringList{xdg1, installed} << installed;
        QTest::newRow("nowhere") << QStringList{u"share/notice.wav"_qs} << beside;
    }

    void dataFilePath()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, expected);
        QTemporaryDir prefix;
        QVERIFY(QDir(prefix.path()).mkpath(u"bin"_qs));
        for (const QString &file : files)
            QVERIFY(WriteBytes(prefix.filePath(file), "RIFF"));
        const QStringList xdg{prefix.filePath(u"xdg1"_qs), prefix.filePath(u"xdg2"_qs)};
        QCOMPARE(DataFilePath(u"notice.wav"_qs, prefix.filePath(u"bin"_qs), xdg),
                 prefix.filePath(expected));
    }

    // The player hands readable files to the audio device; anything else
    // silences the sound playing.
    void playerAsksForReadableFiles_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("asked");
        const QString silence = u"silence"_qs;
        QTest::newRow("the chime") << QStringList{u"chime.wav"_qs} << QStringList{u"chime.wav"_qs};
        QTest::newRow("missing file") << QStringList{u"missing.wav"_qs} << QStringList{silence};
        QTest::newRow("a folder") << QStringList{u"folder.wav"_qs} << QStringList{silence};
        QTest::newRow("each sound replaces the last")
            << QStringList{u"chime.wav"_qs, u"missing.wav"_qs, u"chime.wav"_qs}
            << QStringList{u"chime.wav"_qs, silence, u"chime.wav"_qs};
    }

    void playerAsksForReadableFiles()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, asked);
        QTemporaryDir dir;
        QVERIFY(QFile::copy(DataFilePath(u"notice.wav"_qs), dir.filePath(u"chime.wav"_qs)));
        QVERIFY(QDir(dir.path()).mkdir(u"folder.wav"_qs));
        QStringList requests;
        WaveSoundPlayer player(std::make_unique<RecordingWaveOutput>(requests));
        for (const QString &file : files)
            player.PlayWave(dir.filePath(file));
        for (QString &path : asked)
            path = path == u"silence"_qs ? path : dir.filePath(path);
        QCOMPARE(requests, asked);
    }

    // The real output is loaded at the first sound, once, whether that
    // works or not; silencing before it loads nothing.
    void lateOutputLoadsAtFirstSound_data()
    {
        QTest::addColumn<bool>("loads");
        QTest::addColumn<QStringList>("asked");
        QTest::newRow("module there")
            << true << QStringList{u"a.wav"_qs, u"silence"_qs, u"b.wav"_qs};
        QTest::newRow("module missing") << false << QStringList();
    }

    void lateOutputLoadsAtFirstSound()
    {
        QFETCH(bool, loads);
        QFETCH(QStringList, asked);
        QStringList requests;
        int loaded = 0;
        LateWaveOutput output([&]() -> std::unique_ptr<WaveOutput> {
            ++loaded;
            return loads ? std::make_unique<RecordingWaveOutput>(requests) : nullptr;
        });
        output.stop();
        QCOMPARE(loaded, 0);
        output.play(u"a.wav"_qs);
        output.stop();
        output.play(u"b.wav"_qs);
        QCOMPARE(loaded, 1);
        QCOMPARE(requests, asked);
    }

    // The build puts the audio module beside the program, and it loads.
    void builtModuleLoads()
    {
        const QString folder = QCoreApplication::applicationDirPath();
        QCOMPARE(AudioModulePath(folder), folder + u"/voltwise-audio.so"_qs);
        QVERIFY(LoadAudioModule() != nullptr);
    }
};

QTEST_GUILESS_MAIN(TestDesktopServices)
#include "test_desktop_services.moc"
