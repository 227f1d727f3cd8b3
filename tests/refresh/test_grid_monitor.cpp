// The grid monitor without widgets, against the in-process simulator: what a
// refresh emits, when it announces, the minute timer's rule and the stop.
#include "core/conversions.h"
#include "core/download/download_channel.h"
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
    QStringList m_log; // what the monitor emitted, one entry per signal
    QList<PublishedItems> m_items;
    QList<ChangeNotice> m_notices;

    GridMonitor *makeMonitor(FeedSource feeds = FeedSource::Classic)
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
        const auto log = [this](const QString &entry) {
            return [this, entry] {
                m_log << entry;
            };
        };
        connect(m, &GridMonitor::refreshStarted, this, log(u"started"_qs));
        connect(m, &GridMonitor::refreshFinished, this, log(u"finished"_qs));
        connect(m, &GridMonitor::stopped, this, log(u"stopped"_qs));
        connect(m, &GridMonitor::itemsPublished, this, [this](auto &items, const QString &words) {
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
        const bool classic = feeds == FeedSource::Classic;
        const QStringList conditions =
            u"System Normal|Alert Notice|Warning Notice|Stage 1 Emergency|Stage 2 Emergency|"
            "Stage 3 Emergency|Emergency Load Reductions"_qs.split(u'|');
        GridMonitor *monitor = makeMonitor(feeds);
        QCOMPARE(monitor->publishedItems(), PublishedItems::initial());
        for (int step = 0; step < conditions.size(); ++step) {
            if (step > 0)
                m_sim->advance();
            m_log.clear();
            QCoro::waitFor(monitor->refresh());
            const GridSnapshot s = classic ? m_sim->snapshot() : m_sim->currentSnapshot();
            const QString shown = step == 6 ? u"Rolling Blackouts"_qs : conditions[step];
            const QString words = classic ? QString() : OperatorWordsOf(s.level).join(u", "_qs);
            const qint64 load = std::llround(s.actualDemand);
            QCOMPARE(m_log,
                     (QStringList{u"started"_qs, u"items "_qs + words, u"presented "_qs + shown,
                                  u"announced %1"_qs.arg(s.level), u"finished"_qs}));
            const PublishedItems items{
                FormatGeneralDate(OleDate::fromDateTime(s.measured), kEnglishUs), conditions[step],
                QString::number(load)};
            QCOMPARE(m_items.last(), items);
            QCOMPARE(monitor->publishedItems(), items);
            const ChangeNotice &notice = m_notices.last();
            QCOMPARE(notice.NoticeHeader, shown + u": "_qs + kEnglishUs.toString(load) + u" MW"_qs);
            QCOMPARE(notice.ClickURL.path(),
                     classic ? u"/awe/SP/systemstatus.html" : u"/todays-outlook");
            QVERIFY(notice.PlaySound);
        }
    }

    // Steps in turn: "r" a refresh on request, "t" a minute tick; before it
    // "+" a step of the walk, "!" the status file missing (the level
    // unknown), "q" the chime off, a digit the interval, "x" automatic checks
    // off, "o" on, each from then on. Each step announces ("A"), announces
    // without the chime ("a"), refreshes without announcing ("-") or not at
    // all ("."). Ticks refresh at the first, then every interval (below 1: 1)
    // on the settings read at each tick; the count runs on while checks are
    // off and through a change of interval, and a refresh on request keeps it.
    void steps_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("steady status") << u"r r"_qs << u"A-"_qs;
        QTest::newRow("each new status") << u"r +r +r"_qs << u"AAA"_qs;
        QTest::newRow("held back while the level is unknown") << u"!r !r r r"_qs << u"--A-"_qs;
        QTest::newRow("chime off") << u"qr +r"_qs << u"aa"_qs;
        QTest::newRow("ticks, a refresh on request") << u"t r t t t t t t"_qs << u"A-..-..-"_qs;
        QTest::newRow("ticks, interval 0") << u"0t t t"_qs << u"A--"_qs;
        QTest::newRow("ticks, interval 3 to 2") << u"3t t 2t t t t t t"_qs << u"A...-.-."_qs;
        QTest::newRow("ticks, automatic checks off, then on")
            << u"r xt t ot t t t t"_qs << u"A...-..-"_qs;
    }

    void steps()
    {
        QFETCH(QString, steps);
        GridMonitor *monitor = makeMonitor();
        QString outcome;
        for (const QString &step : steps.split(u' ')) {
            if (step.contains(u'+'))
                m_sim->advance();
            m_sim->setFault(kStatusCsvPath, step.contains(u'!') ? Fault{.status = 404} : Fault{});
            m_settings.PlaySound = m_settings.PlaySound && !step.contains(u'q');
            m_settings.AutoCheck =
                (m_settings.AutoCheck && !step.contains(u'x')) || step[0] == u'o';
            if (step[0].isDigit())
                m_settings.UpdateInterval = step[0].digitValue();
            const int requests = m_sim->requestCount(kStatusCsvPath);
            const qsizetype notices = m_notices.size();
            const bool tick = step.endsWith(u't');
            QCoro::waitFor(tick ? monitor->minuteTick() : monitor->refresh());
            if (m_notices.size() > notices)
                outcome += m_notices.last().PlaySound ? u'A' : u'a';
            else
                outcome += m_sim->requestCount(kStatusCsvPath) > requests ? u'-' : u'.';
            QVERIFY(!tick || timerOn()); // since the first refresh
        }
        QTEST(outcome, "outcome");
    }

    // Stopped while idle, the monitor stops at once; during a refresh, that
    // refresh is cut short and produces nothing, and then it stops. Either
    // way no download starts any more, and neither does the minute timer.
    // Destroyed, it emits nothing more. A refresh asked for while one runs
    // returns at once and downloads nothing.
    void stop_data()
    {
        QTest::addColumn<QString>("trouble"); // PATH=FAULT under way; none: idle
        QTest::addColumn<bool>("destroy");
        const QString outlook = kOutlookPagePath.toString();
        QTest::newRow("idle") << QString() << false;
        QTest::newRow("status file delayed")
            << kStatusCsvPath.toString() + u"=delay:3000"_qs << false;
        QTest::newRow("outlook page stalled") << outlook + u"=stall"_qs << false;
        QTest::newRow("destroyed, outlook page stalled") << outlook + u"=stall"_qs << true;
    }

    void stop()
    {
        QFETCH(QString, trouble);
        QFETCH(bool, destroy);
        GridMonitor *monitor = makeMonitor();
        QCoro::waitFor(monitor->refresh());
        m_log.clear();
        QStringList expected{u"stopped"_qs};
        if (const auto fault = ParsePathFault(trouble)) {
            m_sim->advance();
            m_sim->setFault(fault->path, fault->fault);
            monitor->refresh();
            QTRY_COMPARE(m_sim->requestCount(fault->path), 2);
            QVERIFY(monitor->isRefreshing() && !timerOn());
            QVERIFY(monitor->refresh().isReady());
            QCOMPARE(m_sim->requestCount(kStatusCsvPath), 2);
            expected = QStringList{u"started"_qs, u"finished"_qs, u"stopped"_qs};
        }
        QSignalSpy laterRequests(m_sim.get(), &GridSim::requestReceived);
        if (destroy) {
            m_monitor.reset();
            // The cut transfer ends from the event loop.
            QTRY_COMPARE(DownloadChannel::transfersAlive(), 0);
            expected = QStringList{u"started"_qs};
        } else {
            monitor->stop();
            QTRY_VERIFY(!monitor->isRefreshing());
            QVERIFY(monitor->isStopped() && !timerOn());
            QVERIFY(monitor->refresh().isReady());
            monitor->stop();
        }
        QCOMPARE(m_log, expected);
        QCOMPARE(laterRequests.size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestGridMonitor)
#include "test_grid_monitor.moc"
