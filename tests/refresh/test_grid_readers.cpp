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
const QStringList kFeedOrder{u"main "_qs + kStatsPath.toString(),
                             u"main "_qs + kDemandPath.toString(),
                             u"main "_qs + kFlexAlertEventsPath.toString()};

// Which parts are the same in both: status (and words), picture, outlook, forecasts, notices.
QList<bool> SameParts(const GridData &a, const GridData &b)
{
    return {a.Status == b.Status && a.OperatorStatus == b.OperatorStatus,
            a.PendingGraphPicture == b.PendingGraphPicture, a.Outlook == b.Outlook,
            a.ForecastsText == b.ForecastsText, a.Notices == b.Notices};
}

QStringList Errors(const QSignalSpy &progress)
{
    QStringList shown;
    for (const QList<QVariant> &text : progress)
        if (text[0].toString().startsWith(u"Error #"_qs))
            shown << text[0].toString();
    return shown;
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

    // Today's feeds all come from the main simulator.
    ServerUrls servers(bool classic = true) const
    {
        const QUrl main = m_main->baseUrl();
        return classic ? ServerUrls{main, m_content->baseUrl(), QUrl(), QUrl(), FeedSource::Classic}
                       : ServerUrls{main, RefusingUrl(), RefusingUrl(), main, FeedSource::Current};
    }

    ReadAllResult readAll(GridData &data, const ServerUrls &urls,
                          std::shared_ptr<const RefreshCancellation> cancellation = nullptr)
    {
        return QCoro::waitFor(ReadAllSources(*m_channel, urls, data,
                                             QLocale(QLocale::English, QLocale::UnitedStates),
                                             std::move(cancellation), [this] { return m_now; }));
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

    // After a first refresh the operator moves on three steps: a failed or
    // refused download, an error status or a refused body keeps its part
    // alone, and the status bar says why. A refresh cancelled before it starts
    // asks for nothing (cancelled during a download: test_grid_monitor's stop).
    void secondRefresh_data()
    {
        QTest::addColumn<bool>("classic");
        QTest::addColumn<QString>(
            "trouble"); // PATH=FAULT, "content" refused, "cancelled", "tomorrow"
        QTest::addColumn<int>("statusCsvHttpStatus");
        QTest::addColumn<QList<bool>>("kept");
        QTest::addColumn<QStringList>("errors"); // each the start of one "Error #" message

        const auto on = [](QStringView path, const char *fault) {
            return path.toString() + u'=' + QString::fromLatin1(fault);
        };
        const auto error = [](int code, QStringView path = {}, const char *why = "") {
            const QString text = u"Error #%1: "_qs.arg(code);
            return text + (path.isEmpty() ? QString() : path.toString() + u": "_qs) +
                   QString::fromLatin1(why);
        };
        const QList<bool> none{0, 0, 0, 0, 0}, status{1, 0, 0, 0, 0};
        QTest::newRow("no fault") << true << QString() << 200 << none << QStringList();
        QTest::newRow("status file 503")
            << true << on(kStatusCsvPath, "status:503") << 503 << status
            << QStringList{error(503, {}, "Service Unavailable")};
        QTest::newRow("one-byte picture") << true << on(kLoadPicturePath, "oversize:1") << 200
                                          << QList<bool>{0, 1, 0, 0, 0} << QStringList();
        QTest::newRow("two-byte picture")
            << true << on(kLoadPicturePath, "oversize:2") << 200 << none << QStringList();
        QTest::newRow("content server refused")
            << true << u"content"_qs << 200 << QList<bool>{0, 1, 1, 0, 1}
            << QStringList(3, error(1, {}, "Connection refused"));
        QTest::newRow("cancelled before the refresh")
            << true << u"cancelled"_qs << 0 << QList<bool>(5, true) << QStringList();

        // No picture from today's feeds; notices come from the words and the events.
        QTest::newRow("today's feeds")
            << false << QString() << 200 << QList<bool>{0, 1, 0, 0, 0} << QStringList();
        QTest::newRow("summary as a portal's page")
            << false << on(kStatsPath, "html") << 200 << QList<bool>{1, 1, 0, 0, 0}
            << QStringList{error(200, kStatsPath, "HTML page instead of JSON")};
        QTest::newRow("demand file as HTML")
            << false << on(kDemandPath, "html") << 200 << QList<bool>{0, 1, 1, 0, 0}
            << QStringList{error(200, kDemandPath, "HTML page instead of CSV")};
        QTest::newRow("Flex Alert service empty from the first")
            << false << on(kFlexAlertEventsPath, "empty") << 200
            << QList<bool>{0, 1, 0, 1, 0} // notices: the new words
            << QStringList{error(200, kFlexAlertEventsPath)};
        // Just after midnight: the files still hold the afternoon before.
        QTest::newRow("a day behind")
            << false << u"tomorrow"_qs << 200 << QList<bool>{1, 1, 1, 0, 0}
            << QStringList{error(200, kStatsPath, "a day behind"),
                           error(200, kDemandPath, "a day behind")};
    }

    void secondRefresh()
    {
        QFETCH(bool, classic);
        QFETCH(QString, trouble);
        QFETCH(QStringList, errors);
        const auto advance = [this] {
            m_main->advance();
            m_content->advance();
        };
        if (classic)
            advance();
        // The Flex Alert service fails from the first refresh: until it has
        // answered, nothing is known of the notices, not "no notices".
        const auto fault = ParsePathFault(trouble);
        const bool flexAlerts = fault && fault->path == kFlexAlertEventsPath;
        if (flexAlerts)
            m_main->setFault(fault->path, fault->fault);
        GridData data;
        QCOMPARE(readAll(data, servers(classic)).statusCsvHttpStatus, 200);
        if (flexAlerts) {
            QCOMPARE(data.Notices.NoticesText + data.ForecastsText, QString());
            // What the change alert compares still follows the operator's words.
            QCOMPARE(data.Notices.StatusTableText,
                     u"Grid status: "_qs + data.OperatorStatus.join(u", "_qs));
        }
        const GridData before = data;
        for (int i = 0; i < 3; ++i)
            advance();
        m_requests.clear();
        ServerUrls urls = servers(classic);
        QStringList expectedRequests = classic ? kRefreshOrder : kFeedOrder;
        if (fault) {
            const bool main =
                !classic || fault->path == kStatusCsvPath || fault->path == kForecastPagePath;
            (main ? m_main : m_content)->setFault(fault->path, fault->fault);
        } else if (trouble == u"tomorrow") {
            const QDateTime pacific = OperatorWallClock(kAfternoon);
            m_now = QDateTime(pacific.date().addDays(1), QTime(0, 10), OperatorTimeZone());
        } else if (trouble == u"cancelled") {
            expectedRequests.clear();
        } else if (!trouble.isEmpty()) {
            urls.gridContent = RefusingUrl();
            expectedRequests.removeIf([&](const QString &r) { return r.startsWith(trouble); });
        }
        QSignalSpy progress(m_channel.get(), &DownloadChannel::progressText);

        const auto cancellation = std::make_shared<RefreshCancellation>();
        cancellation->cancelled = trouble == u"cancelled";
        QTEST(readAll(data, urls, cancellation).statusCsvHttpStatus, "statusCsvHttpStatus");

        QCOMPARE(m_requests, expectedRequests);
        QTEST(SameParts(data, before), "kept");
        const QStringList shown = Errors(progress);
        QVERIFY2(shown.size() == errors.size(), qPrintable(shown.join(u'|')));
        for (qsizetype i = 0; i < shown.size(); ++i)
            QVERIFY2(shown[i].startsWith(errors[i]), qPrintable(shown[i]));
        if (trouble.isEmpty() && classic)
            QCOMPARE(data.PendingGraphPicture, m_content->resource(kLoadPicturePath)->body);
        // Each feed cache-busted, naming the program.
        for (const QStringView path : {kStatsPath, kDemandPath, kFlexAlertEventsPath}) {
            if (classic)
                break;
            const SimRequest request = m_main->lastRequest(path).value();
            QVERIFY2(QUrlQuery(request.query).hasQueryItem(u"_"_qs), qPrintable(request.query));
            QVERIFY2(request.userAgent.startsWith("Voltwise/2."), request.userAgent.constData());
            QCOMPARE(request.accept == "application/json", path == kFlexAlertEventsPath);
        }
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
        QSignalSpy progress(m_channel.get(), &DownloadChannel::progressText);
        GridData data;

        auto refresh = ReadAllSources(*m_channel, servers(classic), data, QLocale::c(), nullptr,
                                      [this] { return m_now; });
        const auto start = m_timers.now();
        while (!refresh.isReady() && m_timers.now() - start < 10min) {
            QTest::qWait(2);
            m_timers.advance(1s);
        }

        QVERIFY(m_timers.now() - start <= kRefreshDeadline);
        QCOMPARE(QCoro::waitFor(std::move(refresh)).statusCsvHttpStatus, 0);
        QCOMPARE(SameParts(data, GridData()), QList<bool>(5, true));
        QCOMPARE(Errors(progress).size(), classic ? kRefreshOrder.size() : kFeedOrder.size());
    }
};

QTEST_GUILESS_MAIN(TestGridReaders)
#include "test_grid_readers.moc"
