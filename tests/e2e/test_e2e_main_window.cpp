// Runs the real programs: a simulated grid operator, a tray host on a
// virtual X display, and voltwise itself, watched over the session bus.
#include <QDBusInterface>
#include <QDBusReply>
#include <QDir>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <csignal>

class TestE2eMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void followsTheGridAndSavesSettingsOnTerm_data();
    void followsTheGridAndSavesSettingsOnTerm();

private:
    QString item(const char *name);
    QString systemCondition() { return item("SystemCondition"); }
    QString waitForCondition(const QString &wanted, int timeoutMs);
    QString windowTree();
    QStringList noticeWindows();
    QString trayIconLine();
    QString xdotool(const QStringList &arguments);
    void controlSimulator(const QString &path);
    QProcessEnvironment displayEnvironment() const;

    QTemporaryDir m_dir;
    QString m_display;
    QProcess m_xvfb;
    QProcess m_trayer;
    QProcess m_sim;
    QProcess m_voltwise;
    QUrl m_simUrl;
};

QProcessEnvironment TestE2eMainWindow::displayEnvironment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"DISPLAY"_qs, m_display);
    env.insert(u"QT_QPA_PLATFORM"_qs, u"xcb"_qs);
    return env;
}

void TestE2eMainWindow::initTestCase()
{
    if (!QDBusConnection::sessionBus().isConnected())
        QSKIP("no session bus (run under dbus-run-session)");
    if (QStandardPaths::findExecutable(u"Xvfb"_qs).isEmpty())
        QSKIP("Xvfb is not installed");
    QVERIFY2(!QStandardPaths::findExecutable(u"xdotool"_qs).isEmpty(),
             "xdotool is missing (scripts/install-deps.sh installs it)");

    for (int attempt = 0; attempt < 20 && m_display.isEmpty(); ++attempt) {
        const int number = 100 + QRandomGenerator::global()->bounded(800);
        if (QFile::exists(u"/tmp/.X%1-lock"_qs.arg(number)))
            continue;
        m_xvfb.start(u"Xvfb"_qs, {u":%1"_qs.arg(number), u"-screen"_qs, u"0"_qs, u"1280x800x24"_qs,
                                  u"-nolisten"_qs, u"tcp"_qs});
        QVERIFY(m_xvfb.waitForStarted());
        const QString socket = u"/tmp/.X11-unix/X%1"_qs.arg(number);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(socket) || m_xvfb.state() != QProcess::Running,
                                 10000);
        if (m_xvfb.state() == QProcess::Running)
            m_display = u":%1"_qs.arg(number);
    }
    QVERIFY2(!m_display.isEmpty(), "no virtual display");

    m_trayer.setProcessEnvironment(displayEnvironment());
    m_trayer.start(u"trayer"_qs, {u"--edge"_qs, u"bottom"_qs, u"--align"_qs, u"right"_qs});
    QVERIFY(m_trayer.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(windowTree().contains(u"\"panel\""_qs), 10000);

    m_sim.start(QStringLiteral(VOLTWISE_GRIDSIM),
                {u"--port"_qs, u"0"_qs, u"--scenario"_qs, u"walk"_qs});
    QVERIFY(m_sim.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(
        m_sim.canReadLine() || (m_sim.waitForReadyRead(100), false) || m_sim.canReadLine(), 10000);
    const QByteArray line = m_sim.readLine().trimmed();
    QVERIFY2(line.startsWith("listening on "), line.constData());
    m_simUrl = QUrl(QString::fromLatin1(line.mid(13)));
}

void TestE2eMainWindow::cleanupTestCase()
{
    for (QProcess *process : {&m_voltwise, &m_sim, &m_trayer, &m_xvfb}) {
        if (process->state() == QProcess::NotRunning)
            continue;
        process->terminate();
        if (!process->waitForFinished(5000))
            process->kill();
        process->waitForFinished();
    }
}

QString TestE2eMainWindow::item(const char *name)
{
    QDBusInterface items(u"com.ternwood.Voltwise"_qs, u"/GridStatus"_qs,
                         u"com.ternwood.Voltwise.GridStatus"_qs);
    return items.property(name).toString();
}

QString TestE2eMainWindow::waitForCondition(const QString &wanted, int timeoutMs)
{
    QString seen;
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired() && m_voltwise.state() == QProcess::Running) {
        seen = systemCondition();
        if (seen == wanted)
            break;
        QTest::qWait(200);
    }
    return seen;
}

QString TestE2eMainWindow::windowTree()
{
    QProcess tree;
    tree.setProcessEnvironment(displayEnvironment());
    tree.start(u"xwininfo"_qs, {u"-root"_qs, u"-tree"_qs});
    tree.waitForFinished(5000);
    return QString::fromLocal8Bit(tree.readAllStandardOutput());
}

// The window ids of the notices on screen.
QStringList TestE2eMainWindow::noticeWindows()
{
    QStringList ids;
    for (const QString &line : windowTree().split(u'\n')) {
        if (line.contains(u"\"Voltwise Notice\""_qs))
            ids.append(line.trimmed().section(u' ', 0, 0));
    }
    return ids;
}

QString TestE2eMainWindow::xdotool(const QStringList &arguments)
{
    QProcess tool;
    tool.setProcessEnvironment(displayEnvironment());
    tool.start(u"xdotool"_qs, arguments);
    tool.waitForFinished(5000);
    return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
}

// The line of the program's icon window among the tray host panel's children.
QString TestE2eMainWindow::trayIconLine()
{
    const QStringList lines = windowTree().split(u'\n');
    qsizetype panelIndent = -1;
    for (const QString &line : lines) {
        const qsizetype indent = line.size() - QStringView(line).trimmed().size();
        if (line.contains(u"\"panel\""_qs)) {
            panelIndent = indent;
            continue;
        }
        if (panelIndent < 0)
            continue;
        if (indent <= panelIndent)
            panelIndent = -1;
        else if (line.contains(u"\"Voltwise\""_qs))
            return line;
    }
    return {};
}

void TestE2eMainWindow::controlSimulator(const QString &path)
{
    QNetworkAccessManager network;
    QUrl url = m_simUrl;
    url.setPath(path);
    QNetworkReply *reply = network.post(QNetworkRequest(url), QByteArray());
    QSignalSpy finished(reply, &QNetworkReply::finished);
    QVERIFY(finished.wait(5000));
    QCOMPARE(reply->error(), QNetworkReply::NoError);
    reply->deleteLater();
}

// Both sources: the classic files, and today's feeds (where the alert level
// is a Flex Alert, published with the operator's words).
void TestE2eMainWindow::followsTheGridAndSavesSettingsOnTerm_data()
{
    QTest::addColumn<QString>("feeds");
    QTest::addColumn<QStringList>("operatorStatus"); // on D-Bus, before and after the step
    QTest::newRow("classic") << u"classic"_qs << QStringList{QString(), QString()};
    QTest::newRow("current") << u"current"_qs << QStringList{u"Normal"_qs, u"Flex Alert"_qs};
}

void TestE2eMainWindow::followsTheGridAndSavesSettingsOnTerm()
{
    QFETCH(QString, feeds);
    QFETCH(QStringList, operatorStatus);
    controlSimulator(u"/_sim/reset"_qs);
    const QString config = m_dir.filePath(feeds);
    {
        QSettings file(config + u"/Ternwood/Voltwise.conf"_qs, QSettings::IniFormat);
        file.setValue(u"Servers/Feeds"_qs, feeds);
        file.setValue(u"Servers/GridMain"_qs, m_simUrl.toString());
        file.setValue(u"Servers/GridContent"_qs, m_simUrl.toString());
        file.setValue(u"Servers/FlexAlerts"_qs, m_simUrl.toString());
        file.setValue(u"Servers/Maker"_qs, m_simUrl.toString()); // the start-up update check
        file.setValue(u"Settings/UpdateInterval"_qs, u"1"_qs);
        file.setValue(u"Settings/ShowAtStartup"_qs, u"True"_qs);
        file.setValue(u"Settings/PlaySound"_qs, u"False"_qs);
    }
    QProcessEnvironment env = displayEnvironment();
    env.insert(u"XDG_CONFIG_HOME"_qs, config);
    env.insert(u"LANG"_qs, u"en_US.UTF-8"_qs);
    env.insert(u"LC_ALL"_qs, u"en_US.UTF-8"_qs);
    env.insert(u"VOLTWISE_TEST_MINUTE_MS"_qs, u"1000"_qs);
    m_voltwise.setProcessEnvironment(env);
    m_voltwise.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_voltwise.start(QStringLiteral(VOLTWISE_BINARY), {});
    QVERIFY(m_voltwise.waitForStarted());

    QCOMPARE(waitForCondition(u"System Normal"_qs, 30000), u"System Normal"_qs);
    QCOMPARE(item("OperatorStatus"), operatorStatus[0]);
    QTRY_VERIFY_WITH_TIMEOUT(!trayIconLine().isEmpty(), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(!noticeWindows().isEmpty(), 10000); // the first status is announced
    const QStringList firstNotices = noticeWindows();

    controlSimulator(u"/_sim/advance"_qs);
    QCOMPARE(waitForCondition(u"Alert Notice"_qs, 30000), u"Alert Notice"_qs);
    QCOMPARE(item("OperatorStatus"), operatorStatus[1]);
    // The changed status table raises a notice of its own.
    const auto newNotice = [&] {
        const QStringList now = noticeWindows();
        return std::any_of(now.begin(), now.end(),
                           [&](const QString &id) { return !firstNotices.contains(id); });
    };
    QTRY_VERIFY_WITH_TIMEOUT(newNotice(), 10000);

    // Options from the icon menu, by mouse and keyboard: a new interval, then OK.
    const QRegularExpressionMatch icon =
        QRegularExpression(uR"((\d+)x(\d+)[+-]\d+[+-]\d+\s+\+(-?\d+)\+(-?\d+))"_qs)
            .match(trayIconLine());
    QVERIFY2(icon.hasMatch(), qPrintable(trayIconLine()));
    const auto centre = [&](int size, int at) {
        return QString::number(icon.captured(at).toInt() + icon.captured(size).toInt() / 2);
    };
    QString options;
    for (int attempt = 0; attempt < 5 && options.isEmpty(); ++attempt) {
        xdotool({u"mousemove"_qs, centre(1, 3), centre(2, 4), u"click"_qs, u"3"_qs});
        QTest::qWait(500);
        xdotool({u"key"_qs, u"o"_qs}); // "&Options..."
        for (QDeadlineTimer wait(2000); options.isEmpty() && !wait.hasExpired(); QTest::qWait(100))
            options = xdotool({u"search"_qs, u"--name"_qs, u"^Options$"_qs});
    }
    QVERIFY2(!options.isEmpty(), "no Options dialog");
    // From the first check box to the interval, replace it, and press the default button.
    xdotool({u"key"_qs, u"Tab"_qs, u"ctrl+a"_qs, u"1"_qs, u"2"_qs, u"Return"_qs});
    const auto storedInterval = [&] {
        return QSettings(config + u"/Ternwood/Voltwise.conf"_qs, QSettings::IniFormat)
            .value(u"Settings/UpdateInterval"_qs)
            .toString();
    };
    QTRY_COMPARE_WITH_TIMEOUT(storedInterval(), u"12"_qs, 5000);

    ::kill(m_voltwise.processId(), SIGTERM);
    QVERIFY(m_voltwise.waitForFinished(15000));
    QCOMPARE(m_voltwise.exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_voltwise.exitCode(), 0);

    QSettings saved(config + u"/Ternwood/Voltwise.conf"_qs, QSettings::IniFormat);
    saved.beginGroup(u"Settings"_qs);
    QCOMPARE(saved.value(u"UpdateInterval"_qs).toString(), u"12"_qs);
    QCOMPARE(saved.value(u"PlaySound"_qs).toString(), u"False"_qs);
    QCOMPARE(saved.value(u"GraphValues"_qs).toString(), u"15"_qs);
}

QTEST_GUILESS_MAIN(TestE2eMainWindow)
#include "test_e2e_main_window.moc"
