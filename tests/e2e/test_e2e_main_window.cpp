// Runs the real programs: a simulated grid operator, a tray host on a
// virtual X display, and voltwise itself, watched over the session bus.
// Only what needs the real desktop is here: which feeds it reads and how the
// window follows them are the in-process tests' (tests/ui/test_main_window).
#include "e2e_support.h"

#include <QDBusInterface>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <csignal>

using namespace voltwise::testing;

class TestE2eMainWindow : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_display;
    QProcess m_xvfb, m_trayer, m_sim, m_voltwise;
    QUrl m_simUrl;

    QProcessEnvironment displayEnvironment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"DISPLAY"_qs, m_display);
        env.insert(u"QT_QPA_PLATFORM"_qs, u"xcb"_qs);
        return env;
    }

    // The standard output of an X tool run on the virtual display.
    QString onDisplay(const QString &program, const QStringList &arguments)
    {
        return RunTool(displayEnvironment(), program, arguments).trimmed();
    }

    QString windowTree() { return onDisplay(u"xwininfo"_qs, {u"-root"_qs, u"-tree"_qs}); }
    QString findWindows(const QString &name)
    {
        return onDisplay(u"xdotool"_qs, {u"search"_qs, u"--name"_qs, name});
    }

    QString item(const char *name)
    {
        return QDBusInterface(u"com.ternwood.Voltwise"_qs, u"/GridStatus"_qs,
                              u"com.ternwood.Voltwise.GridStatus"_qs)
            .property(name)
            .toString();
    }

    // The line of the program's icon window among the tray host panel's children.
    QString trayIconLine()
    {
        return onDisplay(u"xwininfo"_qs, {u"-name"_qs, u"panel"_qs, u"-tree"_qs})
            .split(u'\n')
            .filter(u"\"Voltwise\""_qs)
            .value(0);
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!QDBusConnection::sessionBus().isConnected())
            QSKIP("no session bus (run under dbus-run-session)");
        if (QStandardPaths::findExecutable(u"Xvfb"_qs).isEmpty())
            QSKIP("Xvfb is not installed");
        QVERIFY2(!QStandardPaths::findExecutable(u"xdotool"_qs).isEmpty(),
                 "xdotool is missing (scripts/install-deps.sh installs it)");

        // A free display, its number written once it takes connections.
        m_xvfb.start(u"Xvfb"_qs, {u"-displayfd"_qs, u"1"_qs, u"-screen"_qs, u"0"_qs,
                                  u"1280x800x24"_qs, u"-nolisten"_qs, u"tcp"_qs});
        QVERIFY(m_xvfb.waitForStarted());
        QVERIFY2(Poll([this] { return m_xvfb.canReadLine() || m_xvfb.waitForReadyRead(100); }),
                 "no virtual display");
        m_display = u':' + QString::fromLatin1(m_xvfb.readLine().trimmed());

        m_trayer.setProcessEnvironment(displayEnvironment());
        // At the top: with no window manager there is no work area, so notices
        // rise from the screen's bottom edge and would cover a panel there.
        m_trayer.start(u"trayer"_qs, {u"--edge"_qs, u"top"_qs, u"--align"_qs, u"right"_qs});
        QVERIFY(m_trayer.waitForStarted());
        QVERIFY2(Poll([this] { return windowTree().contains(u"\"panel\""_qs); }), "no tray panel");

        m_simUrl = StartSimulator(m_sim);
        QVERIFY(m_simUrl.isValid());
    }

    void cleanupTestCase() { StopAll({&m_voltwise, &m_sim, &m_trayer, &m_xvfb}); }

    void followsTheGridAndSavesSettingsOnTerm()
    {
        const QString file = m_dir.filePath(u"config/Ternwood/Voltwise.conf"_qs);
        // The maker's server serves the start-up update check.
        WriteConfiguration(
            file, m_simUrl,
            {{u"Settings/ShowAtStartup"_qs, u"True"_qs}, {u"Settings/PlaySound"_qs, u"False"_qs}});
        const auto stored = [&file](const QString &key) {
            return QSettings(file, QSettings::IniFormat).value(u"Settings/"_qs + key).toString();
        };
        QProcessEnvironment env = displayEnvironment();
        env.insert(u"XDG_CONFIG_HOME"_qs, m_dir.filePath(u"config"_qs));
        env.insert(u"LANG"_qs, u"en_US.UTF-8"_qs);
        env.insert(u"LC_ALL"_qs, u"en_US.UTF-8"_qs);
        env.insert(u"VOLTWISE_TEST_MINUTE_MS"_qs, u"1000"_qs);
        m_voltwise.setProcessEnvironment(env);
        m_voltwise.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_voltwise.start(QStringLiteral(VOLTWISE_BINARY), {});
        QVERIFY(m_voltwise.waitForStarted());

        // The published items follow the grid; the icon sits in the panel; notices show.
        QVERIFY(Poll([this] { return item("SystemCondition") == u"System Normal"_qs; }));
        QVERIFY(Poll([this] { return !trayIconLine().isEmpty(); }));
        QVERIFY(Poll([this] { return !findWindows(u"^Voltwise Notice$"_qs).isEmpty(); }));
        QVERIFY(ControlSimulator(m_simUrl, u"/_sim/advance"_qs));
        QVERIFY(Poll([this] { return item("SystemCondition") == u"Alert Notice"_qs; }));

        // A notice holds while the pointer rests on its link: park the pointer
        // and let the notices fall, so that nothing else takes the clicks.
        onDisplay(u"xdotool"_qs, {u"mousemove"_qs, u"0"_qs, u"400"_qs});
        QVERIFY2(Poll([this] { return findWindows(u"^Voltwise Notice$"_qs).isEmpty(); }),
                 qPrintable(windowTree()));

        // Options from the icon menu, by mouse and keyboard: a new interval, then OK.
        const QRegularExpressionMatch icon =
            QRegularExpression(uR"((\d+)x(\d+)[+-]\d+[+-]\d+\s+\+(-?\d+)\+(-?\d+))"_qs)
                .match(trayIconLine());
        QVERIFY2(icon.hasMatch(), qPrintable(trayIconLine()));
        const auto centre = [&](int size, int at) {
            return QString::number(icon.captured(at).toInt() + icon.captured(size).toInt() / 2);
        };
        // A menu slow to come misses its key: click again until the dialog is up.
        QString options;
        for (QDeadlineTimer deadline(kLongWait); options.isEmpty() && !deadline.hasExpired();) {
            onDisplay(u"xdotool"_qs,
                      {u"mousemove"_qs, centre(1, 3), centre(2, 4), u"click"_qs, u"3"_qs});
            QTest::qWait(1000);
            onDisplay(u"xdotool"_qs, {u"key"_qs, u"o"_qs}); // "&Options..."
            Poll([&] { return !(options = findWindows(u"^Options$"_qs)).isEmpty(); }, 10000);
        }
        QVERIFY2(!options.isEmpty(), qPrintable(u"no Options dialog\n"_qs + windowTree()));
        // From the first check box to the interval, replace it, and press the default button.
        onDisplay(u"xdotool"_qs,
                  {u"key"_qs, u"Tab"_qs, u"ctrl+a"_qs, u"1"_qs, u"2"_qs, u"Return"_qs});
        QTRY_COMPARE_WITH_TIMEOUT(stored(u"UpdateInterval"_qs), u"12"_qs, kLongWait);

        ::kill(m_voltwise.processId(), SIGTERM);
        QVERIFY(m_voltwise.waitForFinished(kLongWait));
        QCOMPARE(m_voltwise.exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_voltwise.exitCode(), 0);
        QCOMPARE(stored(u"UpdateInterval"_qs), u"12"_qs);
        QCOMPARE(stored(u"PlaySound"_qs), u"False"_qs);
        QCOMPARE(stored(u"GraphValues"_qs), u"15"_qs); // written on TERM
    }
};

QTEST_GUILESS_MAIN(TestE2eMainWindow)
#include "test_e2e_main_window.moc"
