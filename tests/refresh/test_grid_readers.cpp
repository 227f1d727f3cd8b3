// A refresh from the classic sources and from today's feeds, against the simulator.
#include "feeds/operator_dates.h"
#include "refresh/grid_readers.h"
#include "support/manual_timers.h"
#include "support/sim_fixture.h"

#include <QSignalSpy>
#include <QTest>
#include <QUrlQuery>

#include <algorithm>

using namespace voltwise;
using namespace voltwise::gridsim;
using namespace voltwise::testing;

namespace {

// The fixed order of one refresh, each on the server it belongs to.
const QStringList kRefreshOrder{
    u"main "_qs + kStatusCsvPath.toString(), u"content "_qs + kLoadPicturePath.toString(),
    u"content "_qs + kOutlookPagePath.toString(), u"main "_qs + kForecastPagePath.toString(),
    u"content "_qs + kStatusPagePath.toString()};

const QList<QStringView> kFeeds{kStatsPath, kDemandPath, kFlexAlertEventsPath};

// Which parts are the same in both: status (and words), picture, outlook, forecasts, notices.
QList<bool> SameParts(const GridData &a, const GridData &b)
{
    return {a.Status == b.Status && a.OperatorStatus == b.OperatorStatus,
            a.PendingGraphPicture == b.PendingGraphPicture, a.Outlook == b.Outlook,
            a.ForecastsText == b.ForecastsText, a.Notices == b.Notices};
}

} // namespace

class TestGridReaders : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<GridSim> m_main;
    std::unique_ptr<GridSim> m_content;
    ManualTimers m_timers;
    std::unique_ptr<DownloadChannel> m_channel;
    QStringList m_requests;
    QDateTime m_now = kAfternoon;

    ServerUrls servers() const
    {
        return {m_main->baseUrl(), m_content->baseUrl(), QUrl(), QUrl(), FeedSource::Classic};
    }

    ReadAllResult readAll(GridData &data, std::optional<ServerUrls> urls = std::nullopt,
                          std::shared_ptr<const RefreshCancellation> cancellation = nullptr)
    {
        return QCoro::waitFor(ReadAllSources(*m_channel, urls.value_or(servers()), data,
                                             QLocale(QLocale::English, QLocale::UnitedStates),
                                             std::move(cancellation)));
    }

    // Today's feeds, all from the main simulator.
    ReadAllResult readFeeds(GridData &data)
    {
        const QUrl sim = m_main->baseUrl();
        return QCoro::waitFor(ReadAllSources(
            *m_channel, {sim, RefusingUrl(), RefusingUrl(), sim, FeedSource::Current}, data,
            QLocale(QLocale::English, QLocale::UnitedStates), nullptr, [this] { return m_now; }));
    }

private Q_SLOTS:
    void init()
    {
        m_now = kAfternoon;
        m_requests.clear();
        m_main = StartSim();
        m_content = StartSim();
        QVERIFY(m_main && m_content);
        for (GridSim *sim : {m_main.get(), m_content.get()}) {
            const QString name = sim == m_main.get() ? u"main "_qs : u"content "_qs;
            sim->setScenario(ScenarioKind::Walk);
            connect(sim, &GridSim::requestReceived, this,
                    [this, name](const QString &path) { m_requests << name + path; });
        }
        m_channel = NewChannel();
        m_channel->setTimers(m_timers);
    }

    // After a first refresh the operator moves on to a stage 2 emergency: a
    // failed or refused download or an error status keeps its part alone.
    void secondRefresh_data()
    {
        QTest::addColumn<QString>("trouble"); // PATH=FAULT, or the refused server
        QTest::addColumn<int>("statusCsvHttpStatus");
        QTest::addColumn<QList<bool>>("kept");

        const auto on = [](QStringView path, const QString &fault) {
            return path.toString() + u'=' + fault;
        };
        const QList<bool> none{0, 0, 0, 0, 0}, status{1, 0, 0, 0, 0}, outlook{0, 0, 1, 0, 0};
        QTest::newRow("no fault") << QString() << 200 << none;
        QTest::newRow("status file 503") << on(kStatusCsvPath, u"status:503"_qs) << 503 << status;
        QTest::newRow("status file stalled") << on(kStatusCsvPath, u"stall"_qs) << 0 << status;
        QTest::newRow("one-byte picture")
            << on(kLoadPicturePath, u"oversize:1"_qs) << 200 << QList<bool>{0, 1, 0, 0, 0};
        QTest::newRow("two-byte picture") << on(kLoadPicturePath, u"oversize:2"_qs) << 200 << none;
        QTest::newRow("main server refused") << u"main"_qs << 0 << QList<bool>{1, 0, 0, 1, 0};
        QTest::newRow("content server refused")
            << u"content"_qs << 200 << QList<bool>{0, 1, 1, 0, 1};
    }

    void secondRefresh()
    {
        QFETCH(QString, trouble);
        QFETCH(int, statusCsvHttpStatus);
        m_main->advance();
        m_content->advance();
        GridData data;
        QCOMPARE(readAll(data).statusCsvHttpStatus, 200);
        const GridData before = data;
        for (int i = 0; i < 3; ++i) {
            m_main->advance();
            m_content->advance();
        }
        m_requests.clear();
        ServerUrls urls = servers();
        QStringList expectedRequests = kRefreshOrder;
        if (const auto fault = ParsePathFault(trouble)) {
            const bool main = fault->path == kStatusCsvPath || fault->path == kForecastPagePath;
            GridSim *sim = main ? m_main.get() : m_content.get();
            sim->setFault(fault->path, fault->fault);
            // A stalled answer waits for the time-out; let it run out at once.
            if (fault->fault.stall)
                connect(sim, &GridSim::requestReceived, this, [this, path = fault->path](auto p) {
                    if (p == path)
                        QTimer::singleShot(0, this, [this] { m_timers.advance(10s); });
                });
        } else if (!trouble.isEmpty()) {
            (trouble == u"main" ? urls.gridMain : urls.gridContent) = RefusingUrl();
            expectedRequests.removeIf([&](const QString &r) { return r.startsWith(trouble); });
        }

        QCOMPARE(readAll(data, urls).statusCsvHttpStatus, statusCsvHttpStatus);
        QCOMPARE(m_requests, expectedRequests);
        QTEST(SameParts(data, before), "kept");
        if (trouble.isEmpty())
            QCOMPARE(data.PendingGraphPicture, m_content->resource(kLoadPicturePath)->body);
    }

    // Cancelled while the download of `at` runs (-1: before): nothing after it is requested.
    void cancellationStopsBetweenDownloads_data()
    {
        QTest::addColumn<int>("at");
        QTest::newRow("before the refresh") << -1;
        for (int i = 0; i < kRefreshOrder.size(); ++i)
            QTest::newRow(qPrintable(kRefreshOrder[i])) << i;
    }

    void cancellationStopsBetweenDownloads()
    {
        QFETCH(int, at);
        const auto cancellation = std::make_shared<RefreshCancellation>();
        cancellation->cancelled = at < 0;
        const auto cancelAt = [&](const QString &path) {
            if (at >= 0 && kRefreshOrder[at].endsWith(u' ' + path))
                cancellation->cancelled = true;
        };
        connect(m_main.get(), &GridSim::requestReceived, this, cancelAt);
        connect(m_content.get(), &GridSim::requestReceived, this, cancelAt);
        GridData data;

        readAll(data, std::nullopt, cancellation);

        QCOMPARE(m_requests, kRefreshOrder.mid(0, at + 1));
    }

    // Every resource stalled, each download waiting out its own time-out:
    // the refresh still ends at its deadline, and whatever had not come by
    // then failed like any download, with its error in the bar.
    void deadlineEndsTheRefresh_data()
    {
        QTest::addColumn<bool>("classic");
        QTest::newRow("classic") << true;
        QTest::newRow("today's feeds") << false;
    }

    void deadlineEndsTheRefresh()
    {
        QFETCH(bool, classic);
        m_channel->setTimeout(60s);
        for (GridSim *sim : {m_main.get(), m_content.get()})
            sim->setFault(kEveryPath, *ParseFault(u"stall"));
        const QUrl main = m_main->baseUrl();
        const ServerUrls urls =
            classic ? servers() : ServerUrls{main, main, QUrl(), main, FeedSource::Current};
        QSignalSpy progress(m_channel.get(), &DownloadChannel::progressText);
        GridData data;

        auto refresh =
            ReadAllSources(*m_channel, urls, data, QLocale::c(), nullptr, [this] { return m_now; });
        const auto start = m_timers.now();
        while (!refresh.isReady() && m_timers.now() - start < 10min) {
            QTest::qWait(2);
            m_timers.advance(1s);
        }

        QVERIFY(m_timers.now() - start <= kRefreshDeadline);
        QCOMPARE(QCoro::waitFor(std::move(refresh)).statusCsvHttpStatus, 0);
        QCOMPARE(SameParts(data, GridData()), QList<bool>(5, true));
        const qsizetype errors = std::count_if(progress.begin(), progress.end(), [](auto &text) {
            return text[0].toString().startsWith(u"Error #"_qs);
        });
        QCOMPARE(errors, classic ? kRefreshOrder.size() : kFeeds.size());
    }

    // Until the Flex Alert service has answered, nothing is known of the
    // notices: a failed first answer leaves them blank, not "no notices".
    void currentFeedsFlexAlertsFailFirst_data()
    {
        QTest::addColumn<QString>("fault");
        for (const char *fault : {"status:500", "html", "oversize", "binary"})
            QTest::newRow(fault) << QString::fromLatin1(fault);
    }

    void currentFeedsFlexAlertsFailFirst()
    {
        QFETCH(QString, fault);
        m_main->advance(); // a Flex Alert
        m_main->setFault(kFlexAlertEventsPath, *ParseFault(fault));
        GridData data;
        QCOMPARE(readFeeds(data).statusCsvHttpStatus, 200);
        QVERIFY(!data.OperatorStatus.isEmpty());
        QCOMPARE(data.Notices.NoticesText, QString());
        QCOMPARE(data.ForecastsText, QString());
        // What the change alert compares still follows the operator's words.
        QCOMPARE(data.Notices.StatusTableText,
                 u"Grid status: "_qs + data.OperatorStatus.join(u", "_qs));
    }

    // One request per feed, cache-busted, naming the program.
    void currentFeedsRequests()
    {
        GridData data;
        QCOMPARE(readFeeds(data).statusCsvHttpStatus, 200);
        for (const QStringView path : kFeeds) {
            QCOMPARE(m_main->requestCount(path), 1);
            const SimRequest request = m_main->lastRequest(path).value();
            QVERIFY2(QUrlQuery(request.query).hasQueryItem(u"_"_qs), qPrintable(request.query));
            QVERIFY2(request.userAgent.startsWith("Voltwise/2."), request.userAgent.constData());
        }
        QCOMPARE(m_main->lastRequest(kFlexAlertEventsPath)->accept, "application/json");
    }

    // A refused body keeps its part and the status bar says why.
    void currentFeedsRefusedBodies_data()
    {
        QTest::addColumn<QString>("trouble"); // PATH=FAULT, or "tomorrow" for the reader's clock
        QTest::addColumn<QList<bool>>("kept");
        QTest::addColumn<QStringList>("errors"); // each the start of one "Error #" message

        const QString stats = kStatsPath.toString(), demand = kDemandPath.toString(),
                      flex = kFlexAlertEventsPath.toString();
        // No picture from today's feeds; notices come from the words and the events.
        const QList<bool> statsKept{1, 1, 0, 0, 0}, outlookKept{0, 1, 1, 0, 0};
        QTest::newRow("no fault") << QString() << QList<bool>{0, 1, 0, 0, 0} << QStringList();
        QTest::newRow("summary as a portal's page")
            << stats + u"=html"_qs << statsKept
            << QStringList{u"Error #200: "_qs + stats + u": HTML page instead of JSON"_qs};
        QTest::newRow("demand file as HTML")
            << demand + u"=html"_qs << outlookKept
            << QStringList{u"Error #200: "_qs + demand + u": HTML page instead of CSV"_qs};
        QTest::newRow("Flex Alert service empty")
            << flex + u"=empty"_qs << QList<bool>{0, 1, 0, 1, 0} // notices: the new words
            << QStringList{u"Error #200: "_qs + flex};
        // Just after midnight: the files still hold the afternoon before.
        QTest::newRow("a day behind")
            << u"tomorrow"_qs << QList<bool>{1, 1, 1, 0, 0}
            << QStringList{u"Error #200: "_qs + stats + u": a day behind"_qs,
                           u"Error #200: "_qs + demand + u": a day behind"_qs};
    }

    void currentFeedsRefusedBodies()
    {
        QFETCH(QString, trouble);
        QFETCH(QStringList, errors);
        GridData data;
        readFeeds(data);
        const GridData before = data;
        for (int i = 0; i < 3; ++i)
            m_main->advance();
        if (const auto fault = ParsePathFault(trouble)) {
            m_main->setFault(fault->path, fault->fault);
        } else if (trouble == u"tomorrow") {
            const QDateTime pacific = OperatorWallClock(kAfternoon);
            m_now = QDateTime(pacific.date().addDays(1), QTime(0, 10), OperatorTimeZone());
        }
        QSignalSpy progress(m_channel.get(), &DownloadChannel::progressText);

        readFeeds(data);

        QTEST(SameParts(data, before), "kept");
        QStringList shown;
        for (const QList<QVariant> &text : progress)
            if (text[0].toString().startsWith(u"Error #"_qs))
                shown << text[0].toString();
        QCOMPARE(shown.size(), errors.size());
        for (qsizetype i = 0; i < shown.size(); ++i)
            QVERIFY2(shown[i].startsWith(errors[i]), qPrintable(shown[i]));
    }
};

QTEST_GUILESS_MAIN(TestGridReaders)
#include "test_grid_readers.moc"
