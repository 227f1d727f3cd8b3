// What the program asks of the desktop: a browser, an autostart entry, its
// chime, items published on the session bus, windows staying on top.
#include "platform/browser.h"
#include "platform/chime_process_output.h"
#include "platform/data_files.h"
#include "platform/gui/always_on_top.h"
#include "platform/gui/published_items_bus.h"
#include "platform/recording_browser_opener.h"
#include "platform/sound_player.h"
#include "platform/startup_entry.h"
#include "support/files.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

using namespace voltwise;
using namespace voltwise::testing;

namespace {

// Stands for the audio device: what the player asked it to do.
struct RecordingWaveOutput final : WaveOutput
{
    void play(const QString &absolutePath) override { requests << absolutePath; }
    void stop() override { requests << u"silence"_qs; }
    QStringList requests;
};

} // namespace

class TestDesktopServices : public QObject
{
    Q_OBJECT

public Q_SLOTS:
    void onChanged(const QString &, const QVariantMap &changed, const QStringList &)
    {
        m_received.append(changed);
    }

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
        add("look-alike scheme", u"httpx://run.example"_qs, u"httpx://run.example"_qs, false);
    }

    void prefixAndOpen()
    {
        QFETCH(QString, url);
        QFETCH(QString, prefixed);
        QFETCH(bool, opened);
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
        QCOMPARE(entry.registeredProgram(), std::optional(program));

        QVERIFY(entry.unregister());
        QVERIFY(!entry.isRegistered());
        QVERIFY(!entry.unregister()); // nothing left to remove
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

    // Readable files go to the audio device, each sound replacing the last; anything else
    // silences it. The chime program alone fails on what it cannot play, sound server or not.
    void playerAsksForReadableFiles()
    {
        QTemporaryDir dir;
        QVERIFY(QFile::copy(DataFilePath(u"notice.wav"_qs), dir.filePath(u"chime.wav"_qs)));
        QVERIFY(QDir(dir.path()).mkdir(u"folder.wav"_qs));
        auto output = std::make_unique<RecordingWaveOutput>();
        const QStringList &requests = output->requests;
        WaveSoundPlayer player(std::move(output));
        for (const char *file : {"missing.wav", "chime.wav", "folder.wav", "chime.wav"})
            player.PlayWave(dir.filePath(QString::fromLatin1(file)));
        const QString chime = dir.filePath(u"chime.wav"_qs), silence = u"silence"_qs;
        QCOMPARE(requests, (QStringList{silence, chime, silence, chime}));

        QVERIFY(WriteBytes(dir.filePath(u"noise.wav"_qs), QByteArray(4096, '\x7f')));
        for (const QString &file : {u"noise.wav"_qs, u"missing.wav"_qs}) {
            QProcess program;
            program.start(ChimeProgramPath(QCoreApplication::applicationDirPath()),
                          {dir.filePath(file)});
            QVERIFY(program.waitForFinished(20000));
            QCOMPARE(program.exitStatus(), QProcess::NormalExit);
            QCOMPARE(program.exitCode(), 1);
        }
    }

    // Each chime plays in a process of its own, which the next chime or
    // silence ends, and which goes once it has ended; the audio stack never
    // enters this process.
    void chimesPlayInProcessesOfTheirOwn()
    {
        QTemporaryDir dir;
        // Stands for a chime that plays on until it is ended.
        const QString endless = dir.filePath(u"endless"_qs);
        QVERIFY(WriteBytes(endless, "#!/bin/sh\nexec sleep 60\n"));
        QVERIFY(QFile::setPermissions(endless, QFile::ReadOwner | QFile::ExeOwner));
        {
            ChimeProcessOutput output(endless);
            const auto running = [&] {
                return output.findChildren<QProcess *>();
            };
            output.play(u"first"_qs);
            output.play(u"second"_qs);
            QTRY_COMPARE(running().size(), 1);
            QCOMPARE(running()[0]->arguments(), QStringList{u"second"_qs});
            output.stop();
            QTRY_VERIFY(running().isEmpty());
        }
        ChimeProcessOutput output(ChimeProgramPath(QCoreApplication::applicationDirPath()));
        output.play(DataFilePath(u"notice.wav"_qs));
        QTRY_VERIFY_WITH_TIMEOUT(output.findChildren<QProcess *>().isEmpty(), 15000);
        const QByteArray maps = ReadBytes(u"/proc/self/maps"_qs);
        QVERIFY(maps.contains("libQt6Core"));
        QVERIFY(!maps.contains("libcanberra"));
        QVERIFY(!maps.contains("libpulse"));
    }

    // Read and heard on a second bus connection.
    void itemsReadableAndChangesSignalledOnce()
    {
        if (!QDBusConnection::sessionBus().isConnected())
            QSKIP("no session bus (run under dbus-run-session)");
        QDBusConnection client =
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, u"client"_qs);
        const QString service = QLatin1String(PublishedItemsBus::kService);
        const QString path = QLatin1String(PublishedItemsBus::kPath);
        const QString properties = u"org.freedesktop.DBus.Properties"_qs;
        PublishedItemsBus items;
        QVERIFY(items.registerOnSessionBus());
        QVERIFY(client.connect(service, path, properties, u"PropertiesChanged"_qs, this,
                               SLOT(onChanged(QString, QVariantMap, QStringList))));

        items.setItems(u"Not Updated"_qs, u"Alert Notice"_qs, u"0"_qs);
        QTRY_COMPARE(m_received.size(), 1);
        QCOMPARE(m_received[0].keys(), QStringList{u"SystemCondition"_qs});
        items.setItems(u"Not Updated"_qs, u"Alert Notice"_qs, u"0"_qs); // no change, no signal
        items.setItems(u"9/14/2001 2:30:00 PM"_qs, u"Alert Notice"_qs, u"31456.4"_qs,
                       u"EEA Watch, Flex Alert"_qs);
        QTRY_COMPARE(m_received.size(), 2);
        QCOMPARE(m_received[1].size(), 3);
        QDBusMessage getAll =
            QDBusMessage::createMethodCall(service, path, properties, u"GetAll"_qs);
        getAll << QLatin1String(PublishedItemsBus::kInterface);
        // Blocking with the event loop going: the object answers from this very loop.
        const QDBusMessage reply = client.call(getAll, QDBus::BlockWithGui);
        QCOMPARE(qdbus_cast<QVariantMap>(reply.arguments().value(0)),
                 (QVariantMap{{u"UpdateTime"_qs, u"9/14/2001 2:30:00 PM"_qs},
                              {u"SystemCondition"_qs, u"Alert Notice"_qs},
                              {u"CurrentLoad"_qs, u"31456.4"_qs},
                              {u"OperatorStatus"_qs, u"EEA Watch, Flex Alert"_qs}}));
    }

    // Setting the flag keeps the window where it was, shown or hidden.
    void alwaysOnTopKeepsPlaceAndVisibility()
    {
        for (const bool visible : {true, false}) {
            QWidget window;
            window.setGeometry(120, 90, 320, 240);
            window.setVisible(visible);
            QVERIFY(!visible || QTest::qWaitForWindowExposed(&window));
            const QRect before = window.geometry();
            for (bool onTop : {true, true, false, true}) {
                SetAlwaysOnTop(&window, onTop);
                QCOMPARE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint), onTop);
                QCOMPARE(window.isVisible(), visible);
                QTRY_COMPARE(window.geometry(), before);
            }
        }
    }

private:
    QList<QVariantMap> m_received;
};

QTEST_MAIN(TestDesktopServices)
#include "test_desktop_services.moc"
