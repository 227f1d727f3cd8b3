// The start-at-login entry as an XDG autostart file in a temporary directory.
#include "platform/startup_entry.h"
#include "support/files.h"

#include <QTemporaryDir>
#include <QTest>

using namespace voltwise;
using namespace voltwise::testing;

class TestStartupEntry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void execLineRoundTrips_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("exec"); // as written in the file
        QTest::newRow("plain") << u"/usr/bin/voltwise"_qs << u"/usr/bin/voltwise"_qs;
        QTest::newRow("space") << u"/opt/My Apps/voltwise"_qs << u"\"/opt/My Apps/voltwise\""_qs;
        QTest::newRow("double quotes")
            << u"/opt/a \"b\"/voltwise"_qs << u"\"/opt/a \\\\\"b\\\\\"/voltwise\""_qs;
        QTest::newRow("quote, dollar, backslash, percent")
            << u"/opt/it's $HOME/100%/volt\\wise"_qs
            << u"\"/opt/it's \\\\$HOME/100%%/volt\\\\\\\\wise\""_qs;
        QTest::newRow("percent only") << u"/opt/100%/voltwise"_qs << u"/opt/100%%/voltwise"_qs;
    }

    void execLineRoundTrips()
    {
        QFETCH(QString, program);
        QFETCH(QString, exec);
        QTemporaryDir dir;
        XdgAutostartEntry entry(dir.filePath(u"autostart"_qs), program);
        QVERIFY(!entry.isRegistered());
        QVERIFY(entry.registerProgram());

        QCOMPARE(QString::fromUtf8(ReadBytes(entry.filePath())),
                 u"[Desktop Entry]\nType=Application\nName=Voltwise\nExec="_qs + exec +
                     u"\nX-GNOME-Autostart-enabled=true\n"_qs);
        QCOMPARE(QFileInfo(entry.filePath()).fileName(), u"voltwise.desktop"_qs);
        QCOMPARE(DesktopExecArguments(exec), QStringList{program});
        QCOMPARE(entry.registeredProgram(), std::optional(program));

        QVERIFY(entry.unregister());
        QVERIFY(!QFile::exists(entry.filePath()));
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
        QTest::newRow("empty command") << QByteArray("[Desktop Entry]\nExec=\n") << QString();
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
        QVERIFY(!entry.isRegistered());
        QVERIFY(!entry.unregister());
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList{u"file"_qs});
    }
};

QTEST_GUILESS_MAIN(TestStartupEntry)
#include "test_startup_entry.moc"
