// The grid monitor without widgets, against the in-process simulator: what a
// refresh emits, when it announces, the minute timer's rule and the stop.
#include "core/conversions.h"
#include "gridsim/current_feeds_writer.h"
#include "monitor/grid_monitor.h"
#include "settings/app_settings.h"
#include "support/sim_fixture.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <cmath>

using namespace voltwise;
using namespace voltwise::gridsim;
using namespace std::chrono_literals;

namespace {
const QLocale kEnglishUs(QLocale::English, QLocale::UnitedStates);
} // namespace

class TestGridMonitor : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<GridSim> m_sim;
    AppSettings m_settings;
    std::unique_ptr<GridMonitor> m_monitor;
    // What the monitor emitted, one entry per signal.
    QStringList m_log;
    QList<PublishedItems> m_items;
    QList<ChangeNotice> m_notices;

    GridMonitor *makeMonitor(FeedSource feeds)
    {
        const QUrl sim = m_sim->baseUrl();
        MonitorServices services;
        services.servers = {sim, sim, sim, sim, feeds};
        services.locale = kEnglishUs;
        services.clock = [this] {
            return m_sim->snapshot().produced;
        };
        m_monitor = std::make_unique<GridMonitor>(services, m_settings);
        GridMonitor *m = m_monitor.get();
        connect(m, &GridMonitor::refreshStarted, this, [this] { m_log << u"started"_qs; });
        connect(m, &GridMonitor::itemsPublished, this,
                [this](const PublishedItems &items, const QString &words) {
                    m_items << items;
                    m_log << u"items "_qs + words;
                });
        connect(m, &GridMonitor::presented, this, [this](const StatusPresentation &p) {
            m_log << u"presented "_qs + p.lblStatusText.value_or(u"-"_qs);
        });
        connect(m, &GridMonitor::announced, this, [this](const ChangeNotice &notice, int level) {
            m_notices << notice;
            m_log << u"announced %1"_qs.arg(level);
        });
        connect(m, &GridMonitor::refreshFinished, this, [this] { m_log << u"finished"_qs; });
        connect(m, &GridMonitor::stopped, this, [this] { m_log << u"stopped"_qs; });
        return m;
    }

    bool timerOn() const { return m_monitor->findChild<QTimer *>(u"tmrMinute"_qs)->isActive(); }

private Q_SLOTS:
    void init()
    {
        m_sim = testing::StartSim(QDateTime(QDate(2001, 8, 13), QTime(14, 25, 3)));
        QVERIFY(m_sim);
        m_sim->setScenario(ScenarioKind::Walk);
        m_settings = AppSettings();
        m_log.clear();
        m_items.clear();
        m_notices.clear();
    }

    void cleanup()
    {
        m_monitor.reset();
        m_sim.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Each step of the walk: the items for D-Bus (with the operator's words
    // on today's feeds), the presentation, then the notice, whose header is
    // the presented condition; load interruptions read "Rolling Blackouts".
    void refreshEmitsWhatItProduced_data()
    {
        QTest::addColumn<FeedSource>("feeds");
        QTest::newRow("classic") << FeedSource::Classic;
        QTest::newRow("today's feeds") << FeedSource::Current;
    }

    void refreshEmitsWhatItProduced()
    {
        QFETCH(FeedSource, feeds);
        const QStringList conditions{u"System Normal"_qs,
                                     u"Alert Notice"_qs,
                                     u"Warning Notice"_qs,
                                     u"Stage 1 Emergency"_qs,
                                     u"Stage 2 Emergency"_qs,
                                     u"Stage 3 Emergency"_qs,
                                     u"Emergency Load Reductions"_qs};
        GridMonitor *monitor = makeMonitor(feeds);
        QCOMPARE(monitor->publishedItems(), PublishedItems::initial());
        for (int step = 0; step < conditions.size(); ++step) {
            if (step > 0)
                m_sim->advance();
            m_log.clear();
            QCoro::waitFor(monitor->refresh());
            const GridSnapshot s =
                feeds == FeedSource::Classic ? m_sim->snapshot() : m_sim->currentSnapshot();
            const QString shown = step == 6 ? u"Rolling Blackouts"_qs : conditions[step];
            const QString words =
                feeds == FeedSource::Classic ? QString() : OperatorWordsOf(s.level).join(u", "_qs);
            QCOMPARE(m_log,
                     (QStringList{u"started"_qs, u"items "_qs + words, u"presented "_qs + shown,
                                  u"announced %1"_qs.arg(s.level), u"finished"_qs}));
            const PublishedItems items{
                FormatGeneralDate(OleDate::fromDateTime(s.measured), kEnglishUs), conditions[step],
                QString::number(qint64(std::llround(s.actualDemand)))};
            QCOMPARE(m_items.last(), items);
            QCOMPARE(monitor->publishedItems(), items);
            QCOMPARE(m_notices.last().NoticeHeader,
                     shown + u": "_qs + kEnglishUs.toString(qint64(std::llround(s.actualDemand))) +
                         u" MW"_qs);
            QCOMPARE(m_notices.last().ClickURL.path(), feeds == FeedSource::Classic
                                                           ? u"/awe/SP/systemstatus.html"
                                                           : u"/todays-outlook");
            QVERIFY(m_notices.last().PlaySound);
        }
        QCOMPARE(monitor->lastResult().statusCsvHttpStatus, 200);
    }

    // Refreshes in turn: "+" a step of the walk before it, "!" the status
    // file missing (the level unknown), "q" the chime off from then on. Each refresh
    // announces ("A"), announces without the chime ("a") or not ("-").
    void announcements_data()
    {
        QTest::addColumn<QStringList>("refreshes");
        QTest::addColumn<QString>("announced");
        QTest::newRow("steady status") << QStringList{u""_qs, u""_qs} << u"A-"_qs;
        QTest::newRow("each new status") << QStringList{u""_qs, u"+"_qs, u"+"_qs} << u"AAA"_qs;
        QTest::newRow("held back while the level is unknown")
            << QStringList{u"!"_qs, u"!"_qs, u""_qs, u""_qs} << u"--A-"_qs;
        QTest::newRow("chime off") << QStringList{u"q"_qs, u"+"_qs} << u"aa"_qs;
    }

    void announcements()
    {
        QFETCH(QStringList, refreshes);
        GridMonitor *monitor = makeMonitor(FeedSource::Classic);
        QString announced;
        for (const QString &refresh : refreshes) {
            if (refresh.contains(u'+'))
                m_sim->advance();
            m_sim->setFault(kStatusCsvPath,
                            refresh.contains(u'!') ? Fault{.status = 404} : Fault{});
            if (refresh.contains(u'q'))
                m_settings.PlaySound = false;
            const qsizetype before = m_notices.size();
            QCoro::waitFor(monitor->refresh());
            announced +=
                m_notices.size() == before ? u'-' : (m_notices.last().PlaySound ? u'A' : u'a');
        }
        QTEST(announced, "announced");
    }

    // The minute timer refreshes at the first tick and every UpdateInterval
    // ticks while AutoCheck is on, as the settings read at each tick; a
    // refresh on request keeps the count.
    void minuteTicks_data()
    {
        QTest::addColumn<QString>("change"); // after tick 1
        QTest::addColumn<QList<int>>("refreshTicks");
        QTest::newRow("as set") << QString() << QList<int>{1, 4, 7};
        QTest::newRow("refresh on request") << u"refresh"_qs << QList<int>{1, 4, 7};
        QTest::newRow("interval 2") << u"interval"_qs << QList<int>{1, 3, 5, 7};
        QTest::newRow("automatic checks off") << u"off"_qs << QList<int>{1};
    }

    void minuteTicks()
    {
        QFETCH(QString, change);
        GridMonitor *monitor = makeMonitor(FeedSource::Classic);
        QList<int> refreshed;
        for (int tick = 1; tick <= 7; ++tick) {
            const int before = m_sim->requestCount(kStatusCsvPath);
            QCoro::waitFor(monitor->minuteTick());
            if (m_sim->requestCount(kStatusCsvPath) > before)
                refreshed << tick;
            QVERIFY(timerOn()); // since the first refresh
            if (tick != 1)
                continue;
            if (change == u"refresh")
                QCoro::waitFor(monitor->refresh());
            m_settings.UpdateInterval = change == u"interval" ? 2 : 3;
            m_settings.AutoCheck = change != u"off";
        }
        QTEST(refreshed, "refreshTicks");
    }

    // Stopped while idle, the monitor stops at once; during a refresh, that
    // refresh is cut short and produces nothing, and then it stops. Either
    // way no download starts any more, and neither does the minute timer.
    // Destroyed, it emits nothing more.
    void stop_data()
    {
        QTest::addColumn<QString>("path"); // the resource under way; none: idle
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("destroy");
        QTest::newRow("idle") << QString() << QString() << false;
        QTest::newRow("status file delayed")
            << kStatusCsvPath.toString() << u"delay:3000"_qs << false;
        QTest::newRow("outlook page stalled")
            << kOutlookPagePath.toString() << u"stall"_qs << false;
        QTest::newRow("destroyed, outlook page stalled")
            << kOutlookPagePath.toString() << u"stall"_qs << true;
    }

    void stop()
    {
        QFETCH(QString, path);
        QFETCH(QString, fault);
        QFETCH(bool, destroy);
        GridMonitor *monitor = makeMonitor(FeedSource::Classic);
        QCoro::waitFor(monitor->refresh());
        m_log.clear();
        QStringList expected{u"stopped"_qs};
        if (!path.isEmpty()) {
            m_sim->advance();
            m_sim->setFault(path, *ParseFault(fault));
            monitor->refresh();
            QTRY_COMPARE(m_sim->requestCount(path), 2);
            QVERIFY(monitor->isRefreshing() && !timerOn());
            expected = QStringList{u"started"_qs, u"finished"_qs, u"stopped"_qs};
        }
        QSignalSpy laterRequests(m_sim.get(), &GridSim::requestReceived);
        if (destroy) {
            m_monitor.reset();
            QTest::qWait(100); // the cut transfer ends from the event loop
            QCOMPARE(m_log, QStringList{u"started"_qs});
            QCOMPARE(laterRequests.size(), 0);
            return;
        }
        monitor->stop();
        QTRY_VERIFY(!monitor->isRefreshing());
        QCOMPARE(m_log, expected);
        QVERIFY(monitor->isStopped() && !timerOn());
        QVERIFY(monitor->refresh().isReady());
        monitor->stop();
        QCOMPARE(m_log, expected);
        QCOMPARE(laterRequests.size(), 0);
    }

    // A refresh asked for while one runs returns at once and downloads nothing.
    void oneRefreshAtATime()
    {
        GridMonitor *monitor = makeMonitor(FeedSource::Classic);
        m_sim->setFault(kOutlookPagePath, Fault{.delay = 300ms});
        QCoro::Task<> first = monitor->refresh();
        QVERIFY(monitor->refresh().isReady());
        QCoro::waitFor(std::move(first));
        QCOMPARE(m_sim->requestCount(kStatusCsvPath), 1);
        QCOMPARE(m_log.count(u"finished"_qs), 1);
    }
};

QTEST_GUILESS_MAIN(TestGridMonitor)
#include "test_grid_monitor.moc"
