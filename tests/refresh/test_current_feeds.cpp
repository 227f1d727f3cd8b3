// A refresh on today's feeds against the simulated operator.
#include "feeds/operator_dates.h"
#include "gridsim/current_feeds_writer.h"
#include "refresh/grid_readers.h"
#include "support/sim_fixture.h"

#include <QSignalSpy>
#include <QTest>
#include <QUrlQuery>

using namespace voltwise;
using namespace voltwise::gridsim;
using namespace voltwise::testing;

namespace {

const QList<QStringView> kFeeds{kStatsPath, kDemandPath, kFlexAlertEventsPath};

// Which parts are the same in both: status and words, outlook, forecasts, notices.
QList<bool> SameParts(const GridData &a, const GridData &b)
{
    return {a.Status == b.Status && a.OperatorStatus == b.OperatorStatus, a.Outlook == b.Outlook,
            a.ForecastsText == b.ForecastsText, a.Notices == b.Notices};
}

} // namespace

class TestCurrentFeeds : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<GridSim> m_sim;
    std::unique_ptr<DownloadChannel> m_channel;
    QDateTime m_now = kAfternoon;

    ReadAllResult readAll(GridData &data)
    {
        const QUrl sim = m_sim->baseUrl();
        return QCoro::waitFor(ReadAllSources(
            *m_channel, {sim, RefusingUrl(), RefusingUrl(), sim, FeedSource::Current}, data,
            QLocale(QLocale::English, QLocale::UnitedStates), nullptr, [this] { return m_now; }));
    }

private Q_SLOTS:
    void init()
    {
        m_now = kAfternoon;
        m_sim = StartSim();
        QVERIFY(m_sim);
        m_sim->setScenario(ScenarioKind::Walk);
        m_channel = NewChannel();
    }

    void cleanup()
    {
        m_channel.reset();
        m_sim.reset();
    }

    // Every step of the walk reads as its level, each with a new status
    // table; one request per feed, cache-busted, naming the program.
    void walk()
    {
        GridData data;
        QString table;
        for (int step = 0; step < 8; ++step, m_sim->advance()) {
            const GridSnapshot s = m_sim->currentSnapshot();
            QCOMPARE(readAll(data).statusCsvHttpStatus, 200);
            QCOMPARE(data.Status.Level, LevelAt(ScenarioKind::Walk, step));
            QCOMPARE(data.OperatorStatus, OperatorWordsOf(s.level));
            QCOMPARE(data.Status.ActualDemand, s.actualDemand);
            QCOMPARE(data.Status.ReserveMargin, s.availableResources - s.actualDemand);
            QVERIFY2(data.Notices.StatusTableText != table, qPrintable(table));
            table = data.Notices.StatusTableText;
            if (s.level == LevelAlert)
                QCOMPARE(data.Status.LevelStart, OleDate::fromDateTime(s.levelStart));
            for (int he = 1; he <= OutlookHourCount; ++he) {
                const HourFigures &h = s.hours[std::size_t(he - 1)];
                const bool now = he == s.measured.time().hour() + 1;
                QCOMPARE(QList<double>({data.Outlook.value(he, 1), data.Outlook.value(he, 2),
                                        data.Outlook.value(he, 3), data.Outlook.value(he, 4)}),
                         QList<double>({h.dayAhead, h.hourAhead, h.actual.value_or(HoleValue),
                                        now ? s.availableResources : HoleValue}));
            }
        }
        for (const QStringView path : kFeeds) {
            QCOMPARE(m_sim->requestCount(path), 8);
            const SimRequest request = m_sim->lastRequest(path).value();
            QVERIFY2(QUrlQuery(request.query).hasQueryItem(u"_"_qs), qPrintable(request.query));
            QVERIFY2(request.userAgent.startsWith("Voltwise/2."), request.userAgent.constData());
        }
        QCOMPARE(m_sim->lastRequest(kFlexAlertEventsPath)->accept, "application/json");
    }

    // After a first refresh the operator moves on to a stage 1 emergency;
    // a refused body keeps its part and the status bar says why. An HTTP
    // status or a failed transfer may be reported by the channel itself:
    // only the start of those messages is fixed.
    void refusedBodiesChangeNothing_data()
    {
        QTest::addColumn<QString>("trouble"); // PATH=FAULT, or "tomorrow" for the reader's clock
        QTest::addColumn<QList<bool>>("kept");
        QTest::addColumn<QStringList>("errors"); // each the start of one "Error #" message

        const QString stats = kStatsPath.toString(), demand = kDemandPath.toString(),
                      flex = kFlexAlertEventsPath.toString();
        // Notices come from the summary's words and the service's events.
        const QList<bool> statsKept{1, 0, 0, 0}, outlookKept{0, 1, 0, 0}, flexKept{0, 0, 1, 0};
        QTest::newRow("no fault") << QString() << QList<bool>{0, 0, 0, 0} << QStringList();
        QTest::newRow("summary 404")
            << stats + u"=status:404"_qs << statsKept << QStringList{u"Error #404: "_qs};
        QTest::newRow("summary as a portal's page")
            << stats + u"=html"_qs << statsKept
            << QStringList{u"Error #200: "_qs + stats + u": HTML page instead of JSON"_qs};
        QTest::newRow("summary empty")
            << stats + u"=empty"_qs << statsKept
            << QStringList{u"Error #200: "_qs + stats + u": not valid JSON"_qs};
        QTest::newRow("demand file as HTML")
            << demand + u"=html"_qs << outlookKept
            << QStringList{u"Error #200: "_qs + demand + u": HTML page instead of CSV"_qs};
        QTest::newRow("demand file empty")
            << demand + u"=empty"_qs << outlookKept
            << QStringList{u"Error #200: "_qs + demand + u": no demand columns"_qs};
        QTest::newRow("Flex Alert service 503")
            << flex + u"=status:503"_qs << flexKept << QStringList{u"Error #503: "_qs};
        QTest::newRow("Flex Alert service stalled")
            << flex + u"=stall"_qs << flexKept << QStringList{u"Error #"_qs};
        // Just after midnight: the files still hold the afternoon before.
        QTest::newRow("a day behind")
            << u"tomorrow"_qs << QList<bool>{1, 1, 0, 0}
            << QStringList{u"Error #200: "_qs + stats + u": a day behind"_qs,
                           u"Error #200: "_qs + demand + u": a day behind"_qs};
    }

    void refusedBodiesChangeNothing()
    {
        QFETCH(QString, trouble);
        QFETCH(QList<bool>, kept);
        QFETCH(QStringList, errors);
        GridData data;
        readAll(data);
        const GridData before = data;
        for (int i = 0; i < 3; ++i)
            m_sim->advance();
        if (const auto fault = ParsePathFault(trouble)) {
            m_sim->setFault(fault->path, fault->fault);
            if (fault->fault.stall)
                m_channel->setTimeout(400ms);
        } else if (trouble == u"tomorrow") {
            const QDateTime pacific = OperatorWallClock(kAfternoon);
            m_now = QDateTime(pacific.date().addDays(1), QTime(0, 10), OperatorTimeZone());
        }
        QSignalSpy progress(m_channel.get(), &DownloadChannel::progressText);

        readAll(data);

        QCOMPARE(SameParts(data, before), kept);
        QStringList shown;
        for (const QList<QVariant> &text : progress)
            if (text[0].toString().startsWith(u"Error #"_qs))
                shown << text[0].toString();
        QCOMPARE(shown.size(), errors.size());
        for (qsizetype i = 0; i < shown.size(); ++i)
            QVERIFY2(shown[i].startsWith(errors[i]), qPrintable(shown[i]));
    }
};

QTEST_GUILESS_MAIN(TestCurrentFeeds)
#include "test_current_feeds.moc"
