// A simulated day of refreshes: the real program against the simulator
// walking through every level, with faults switched on and off, under the
// sanitizers of the build: every refresh done, no sanitizer report, a clean
// exit. Resident memory after the tenth and the last refresh is printed, a
// figure to watch (target: within 2 MB), not asserted.
// VOLTWISE_SOAK_REFRESHES (default 300) and VOLTWISE_SOAK_MINUTE_MS (default
// 200) set its size; scripts/soak.sh runs it.
#include "gridsim/grid_sim.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace voltwise::gridsim;

namespace {

qint64 ResidentKiB(qint64 pid)
{
    QFile status(u"/proc/%1/status"_qs.arg(pid));
    for (const QByteArray &line :
         status.open(QIODevice::ReadOnly) ? status.readAll().split('\n') : QByteArrayList())
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    return -1;
}

// A positive number from the environment, or the fallback.
int EnvironmentNumber(const char *name, int fallback)
{
    const int value = qEnvironmentVariableIntValue(name);
    return value > 0 ? value : fallback;
}

// Faults that end at once; the slow ones are the hostile-server test's.
const QStringList kFaults =
    u"status:500 empty binary oversize reset:body cut gzip-bomb redirect:self invalid-utf8"_qs
        .split(u' ');
// Today's feeds, which a refresh reads unless told otherwise.
const QStringList kPaths{voltwise::kStatsPath.toString(), voltwise::kDemandPath.toString(),
                         voltwise::kFlexAlertEventsPath.toString()};

} // namespace

class TestSoak : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dayOfRefreshes()
    {
        const int refreshes = EnvironmentNumber("VOLTWISE_SOAK_REFRESHES", 300);
        const int minuteMs = EnvironmentNumber("VOLTWISE_SOAK_MINUTE_MS", 200);
        QVERIFY(refreshes > 10);

        GridSim sim;
        QVERIFY(sim.listen());
        sim.setScenario(ScenarioKind::Walk);
        // A new level every eighth refresh: with the shortened minute, a step
        // at every refresh would keep a dozen notices sliding at once, which
        // no real day does.
        sim.setAdvanceEveryRefreshes(8);

        QTemporaryDir dir;
        QSettings file(dir.filePath(u"Ternwood/Voltwise.conf"_qs), QSettings::IniFormat);
        for (const char *key : {"GridMain", "GridContent", "FlexAlerts", "Maker"})
            file.setValue(u"Servers/"_qs + QLatin1String(key), sim.baseUrl().toString());
        file.setValue(u"Settings/UpdateInterval"_qs, u"1"_qs);
        file.setValue(u"Settings/AutoUpdate"_qs, u"False"_qs);
        file.setValue(u"Settings/PlaySound"_qs, u"False"_qs);
        file.sync();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"XDG_CONFIG_HOME"_qs, dir.path());
        env.insert(u"VOLTWISE_TEST_MINUTE_MS"_qs, QString::number(minuteMs));
        // Freed memory is reused at once rather than held in quarantine, so
        // resident memory tells growth apart from the sanitizer's own keeping.
        env.insert(u"ASAN_OPTIONS"_qs,
                   env.value(u"ASAN_OPTIONS"_qs) + u":quarantine_size_mb=0:detect_leaks=1"_qs);
        QProcess voltwise;
        voltwise.setProcessEnvironment(env);
        voltwise.setProcessChannelMode(QProcess::ForwardedOutputChannel);
        voltwise.start(QStringLiteral(VOLTWISE_BINARY), {});
        QVERIFY(voltwise.waitForStarted());

        // Refresh n has ended when the status file of refresh n + 1 is asked for.
        qint64 afterTenth = -1;
        int faultsSet = 0;
        QElapsedTimer elapsed;
        elapsed.start();
        while (sim.refreshCount() <= refreshes && voltwise.state() == QProcess::Running &&
               elapsed.elapsed() < refreshes * (minuteMs + 3000) + 60000) {
            const int done = sim.refreshCount() - 1;
            if (done >= 10 && afterTenth < 0)
                afterTenth = ResidentKiB(voltwise.processId());
            // Every seventh refresh changes the fault: one on, then all off.
            if (done > 0 && done / 7 > faultsSet) {
                faultsSet = done / 7;
                sim.clearFaults();
                if (faultsSet % 2)
                    sim.setFault(kPaths[(faultsSet / 2) % kPaths.size()],
                                 *ParseFault(kFaults[(faultsSet / 2) % kFaults.size()]));
            }
            QTest::qWait(20);
        }
        const qint64 afterLast = ResidentKiB(voltwise.processId());
        QVERIFY2(
            sim.refreshCount() > refreshes,
            qPrintable(
                u"%1 refreshes in %2 ms"_qs.arg(sim.refreshCount() - 1).arg(elapsed.elapsed())));
        qInfo("soak: %d refreshes in %lld s; resident after the 10th %lld KiB, after the last "
              "%lld KiB (%+lld KiB)",
              refreshes, elapsed.elapsed() / 1000, afterTenth, afterLast, afterLast - afterTenth);

        ::kill(pid_t(voltwise.processId()), SIGTERM);
        QVERIFY(voltwise.waitForFinished(60000));
        const QByteArray errors = voltwise.readAllStandardError();
        QVERIFY2(!errors.contains("Sanitizer"), errors.constData());
        QCOMPARE(voltwise.exitStatus(), QProcess::NormalExit);
        QCOMPARE(voltwise.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(TestSoak)
#include "test_soak.moc"
