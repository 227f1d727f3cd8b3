// Every fault the simulator knows against every resource, through the grid
// monitor's refresh and the Graph panel, what the window runs of it: nothing
// crashes, what the refresh before read stays, no alert is raised, the status
// bar names a failed transfer, and the time each refresh took is printed for
// the table of outcomes.
#include "core/download/download_channel.h"
#include "graph/gui/graph_panel.h"
#include "gridsim/fault_bodies.h"
#include "monitor/grid_monitor.h"
#include "settings/app_settings.h"
#include "support/sim_fixture.h"

#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QTest>

#include <map>
#include <memory>

using namespace voltwise;
using namespace voltwise::gridsim;
using namespace std::chrono_literals;

namespace {

// Short enough for a quick table, long enough for loopback answers under sanitizers.
constexpr std::chrono::milliseconds kSilence = 400ms;

// What a refresh asks for, by the feeds it reads.
const QStringList kClassic{kStatusCsvPath.toString(), kLoadPicturePath.toString(),
                           kOutlookPagePath.toString(), kForecastPagePath.toString(),
                           kStatusPagePath.toString()};
const QStringList kCurrent{kStatsPath.toString(), kDemandPath.toString(),
                           kFlexAlertEventsPath.toString()};

} // namespace

Q_DECLARE_METATYPE(voltwise::FeedSource)

class TestHostileServer : public QObject
{
    Q_OBJECT

private:
    AppSettings m_settings;
    std::unique_ptr<GridSim> m_sim;
    // One monitor per feed source, each with the window's Graph panel.
    std::map<FeedSource, std::unique_ptr<GridMonitor>> m_monitors;
    std::map<FeedSource, std::unique_ptr<GraphPanel>> m_panels;
    int m_notices = 0;

    // Everything a refresh leaves behind that a fault could spoil.
    auto shown(FeedSource feeds) const
    {
        const GridData &data = m_monitors.at(feeds)->data();
        return std::tuple(data.Status, data.Notices, data.ForecastsText, data.Outlook,
                          m_panels.at(feeds)->picture()->pixmap().toImage());
    }

private Q_SLOTS:
    void initTestCase()
    {
        // Fixed, and today, so that today's feeds are not a day behind.
        m_sim = testing::StartSim(QDateTime::currentDateTime());
        QVERIFY(m_sim);
        // A warning with notices and forecasts, so every resource has something to keep.
        m_sim->setScenario(ScenarioKind::Walk);
        m_sim->advance();
        m_sim->advance();
        GzipBomb(Fault::kDefaultBomb); // made once, before any refresh waits for it

        for (const FeedSource feeds : {FeedSource::Classic, FeedSource::Current}) {
            MonitorServices services;
            const QUrl sim = m_sim->baseUrl();
            services.servers = {sim, sim, sim, sim, feeds};
            services.locale = QLocale(QLocale::English, QLocale::UnitedStates);
            // Beyond any one fault, within every resource dripping at once.
            services.refreshDeadline = kSilence * 8;
            auto monitor = std::make_unique<GridMonitor>(services, m_settings);
            connect(monitor.get(), &GridMonitor::announced, this, [this] { ++m_notices; });
            m_panels[feeds] = std::make_unique<GraphPanel>(services.locale);
            connect(monitor.get(), &GridMonitor::presented, this,
                    [panel = m_panels[feeds].get()](const StatusPresentation &, const GridData &d) {
                        if (d.PendingGraphPicture)
                            panel->showPicture(*d.PendingGraphPicture);
                    });
            monitor->channel()->setTimeout(kSilence);
            monitor->channel()->setOverallTimeout(kSilence * 5);
            m_monitors[feeds] = std::move(monitor);
            QCoro::waitFor(m_monitors[feeds]->refresh());
        }
        QVERIFY(!m_panels[FeedSource::Classic]->picture()->pixmap().isNull());
    }

    void cleanupTestCase()
    {
        m_monitors.clear();
        m_panels.clear();
        m_sim.reset();
    }

    void matrix_data()
    {
        QTest::addColumn<FeedSource>("feeds");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("fault");
        // The transfer fails and the bar says so; today's feeds' readers also
        // name bad data there, the classic ones never.
        QTest::addColumn<bool>("failed");
        // Delivered whole, bad data and all (the gzip bomb packed, as binary).
        const QStringList whole{u"empty"_qs, u"gzip-bomb"_qs, u"binary"_qs, u"invalid-utf8"_qs};
        const QStringList faults =
            u"status:500 status:404 stall oversize chunked,oversize cut reset:head reset:body "
            "redirect:self redirect:file:///etc/passwd redirect:ftp://127.0.0.1/outlook.html "
            "oversize:100000000,trickle:20"_qs.split(u' ') + // a drip that never ends
            whole;
        for (const FeedSource feeds : {FeedSource::Classic, FeedSource::Current}) {
            for (const QString &path : feeds == FeedSource::Classic ? kClassic : kCurrent)
                for (const QString &fault : faults)
                    QTest::addRow("%s %s", qPrintable(path), qPrintable(fault))
                        << feeds << path << fault << !whole.contains(fault);
            // Every resource at once; a drip without a length to refuse it by
            // lasts until the refresh's deadline.
            for (const char *fault : {"stall", "chunked,oversize:100000000,trickle:20"})
                QTest::addRow("%s every resource %s",
                              feeds == FeedSource::Classic ? "classic" : "current", fault)
                    << feeds << kEveryPath.toString() << QString::fromLatin1(fault) << true;
        }
    }

    void matrix()
    {
        QFETCH(FeedSource, feeds);
        QFETCH(QString, path);
        QFETCH(QString, fault);
        QFETCH(bool, failed);
        GridMonitor &monitor = *m_monitors.at(feeds);
        const QStringList &resources = feeds == FeedSource::Classic ? kClassic : kCurrent;
        m_sim->clearFaults();
        QCoro::waitFor(monitor.refresh());
        const auto before = shown(feeds);
        const int notices = m_notices;
        QHash<QString, int> requests;
        for (const QString &resource : resources)
            requests[resource] = m_sim->requestCount(resource);

        m_sim->setFault(path, *ParseFault(fault));
        QStringList errors;
        const auto connection = connect(monitor.channel(), &DownloadChannel::progressText, this,
                                        [&errors](const QString &text) {
                                            if (text.startsWith(u"Error #"))
                                                errors << text;
                                        });
        QElapsedTimer elapsed;
        elapsed.start();
        QCoro::waitFor(monitor.refresh());
        disconnect(connection);

        const bool kept = shown(feeds) == before;
        qInfo("matrix | %s | %s | %s | %s | %lld ms", qPrintable(path), qPrintable(fault),
              kept ? "kept" : "CHANGED", errors.isEmpty() ? "-" : qPrintable(errors.join(u" / ")),
              elapsed.elapsed());
        QVERIFY(kept);
        QCOMPARE(m_notices, notices);
        if (failed || feeds == FeedSource::Classic)
            QCOMPARE(!errors.isEmpty(), failed);
        // Past the deadline, the rest is not asked for.
        for (const QString &resource : path == kEveryPath ? resources.mid(0, 1) : resources)
            QVERIFY2(m_sim->requestCount(resource) > requests[resource], qPrintable(resource));
        QVERIFY(!monitor.isRefreshing());
    }
};

QTEST_MAIN(TestHostileServer)
#include "test_hostile_server.moc"
