// Readers of today's feeds on the verbatim samples and on summaries constructed
// from the summary's key list (none is public): constructed inputs say so.
#include "feeds/demand_reader.h"
#include "feeds/feed_body.h"
#include "feeds/feed_texts.h"
#include "feeds/flex_alert_reader.h"
#include "feeds/operator_words.h"
#include "feeds/stats_reader.h"
#include "support/files.h"

#include <QTest>

using namespace voltwise;

namespace {

QByteArray Sample(const QString &name)
{
    return testing::ReadBytes(qEnvironmentVariable("VOLTWISE_TEST_DATA") + u"/samples/"_qs + name);
}

// Constructed JSON, written with ' for ".
QByteArray Json(const char *text)
{
    return QByteArray(text).replace('\'', '"');
}

QString Date(OleDate date)
{
    return date.isZero() ? QString() : date.toDateTime().toString(Qt::ISODate);
}

// The fields the summary fills, as comparable values.
QVariantMap Fields(const GridStatus &s)
{
    return {{u"ActualDemand"_qs, s.ActualDemand},
            {u"ActualDemandTime"_qs, Date(s.ActualDemandTime)},
            {u"AvailableResources"_qs, s.AvailableResources},
            {u"AvailableResourcesTime"_qs, Date(s.AvailableResourcesTime)},
            {u"ReserveMargin"_qs, s.ReserveMargin},
            {u"PeakDemandToday"_qs, s.PeakDemandToday},
            {u"ForecastPeakToday"_qs, s.ForecastPeakToday},
            {u"ForecastPeakTomorrow"_qs, s.ForecastPeakTomorrow},
            {u"Produced"_qs, Date(s.Produced)},
            {u"Level"_qs, s.Level}};
}

GridStatus Previous()
{
    GridStatus s;
    s.ActualDemand = 20000;
    s.ActualDemandTime = OleDate::fromDateAndTime(QDate(2022, 8, 31), QTime(12, 0));
    s.AvailableResources = 25000;
    s.ReserveMargin = 5000;
    s.Level = LevelWarning;
    return s;
}

const QStringList kPreviousWords{u"EEA Watch"_qs};

// The operator's clock for the constructed summaries and the verbatim Flex Alerts.
const QDateTime kSummaryNow(QDate(2022, 8, 31), QTime(13, 10));
const QDateTime kFlexAlertNow(QDate(2021, 6, 11), QTime(10, 0));

OutlookValues Filled(double value)
{
    OutlookValues values;
    for (int hour = 1; hour <= OutlookHourCount; ++hour)
        for (int series = 1; series <= OutlookSeriesCount; ++series)
            values.setValue(hour, series, value);
    return values;
}

} // namespace

class TestFeedReaders : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void levelTable_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<int>("level"); // 0: a word the table does not know

        // clang-format off
        const QList<std::pair<const char *, int>> rows{
            {"Normal", 1}, {" normal ", 1}, {"Restricted Maintenance Operations", 2},
            {"FLEX ALERT", 2}, {"EEA Watch", 3},
            {"Transmission Emergency declared for Northern CA Region", 3}, {"EEA 1", 4},
            {"Energy Emergency Alert 1", 4}, {"Stage 1", 4}, {"EEA1", 4}, {"EEA 2", 5},
            {"Stage 3", 6}, {"EEA 3 - Preparing for rotating power outages", 6},
            {"Energy Emergency Alert 3 (EEA 3) \u2212 Ordering rotating power outages", 7},
            {"EEA 3: rotating outages in progress", 7},
            {"EEA 3 - rotating outages have not been ordered", 6},
            {"Stage 3 Load Interruptions", 7}, {"Power Watch", 0}, {"EEA 10", 0},
            {"Stage 1x", 0}, {"Normal operations", 0}, {" ", 0}};
        // clang-format on
        for (const auto &[word, level] : rows)
            QTest::newRow(word) << QString::fromUtf8(word) << level;
    }

    void levelTable()
    {
        QFETCH(QString, word);
        QTEST(int(LevelOfOperatorWord(word).value_or(LevelUnknown)), "level");
    }

    // Constructed summaries: only the keys of the summary's published key list.
    void summary_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QVariantMap>("changed"); // fields that differ from Previous()
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QString>("problem"); // of a refused summary

        // clang-format off
        QTest::newRow("every mapped field")
            << Json("{'slotDate':'08/31/2022 13:05','CurrentSystemDemand':31456,"
                    "'CurrentSystemDemandTS':'202208311300','Current_reserve':3560,"
                    "'TodaysPeakDemand':32000,'todayForecastPeakDemand':45000,"
                    "'tomorrowsForecastPeakDemand':46000.5,'renewablesPercent':35,"
                    "'gridstatus':['Restricted Maintenance Operations']}")
            << QVariantMap{{u"ActualDemand"_qs, 31456.0}, {u"ActualDemandTime"_qs, u"2022-08-31T13:00:00"_qs},
                           {u"AvailableResources"_qs, 35016.0}, {u"AvailableResourcesTime"_qs, u"2022-08-31T13:00:00"_qs},
                           {u"ReserveMargin"_qs, 3560.0}, {u"PeakDemandToday"_qs, 32000.0},
                           {u"ForecastPeakToday"_qs, 45000.0}, {u"ForecastPeakTomorrow"_qs, 46000.5},
                           {u"Produced"_qs, u"2022-08-31T13:05:00"_qs}, {u"Level"_qs, 2}}
            << QStringList{u"Restricted Maintenance Operations"_qs} << QString();
        QTest::newRow("wrong types")
            << Json("{'CurrentSystemDemand':true,'slotDate':5,'gridstatus':'Normal',"
                    "'TodaysPeakDemand':'n/a','Current_reserve':null,'todayForecastPeakDemand':[1]}")
            << QVariantMap() << kPreviousWords << QString();
        QTest::newRow("several words, the most severe decides")
            << Json("{'gridstatus':['Normal',' EEA 2 ','Flex Alert',7]}") << QVariantMap{{u"Level"_qs, 5}}
            << QStringList{u"Normal"_qs, u"EEA 2"_qs, u"Flex Alert"_qs} << QString();
        QTest::newRow("direction controls taken out")
            << Json("{'gridstatus':['\\u202eEEA 2\\u2069', '\\u2066']}") << QVariantMap{{u"Level"_qs, 5}}
            << QStringList{u"EEA 2"_qs} << QString();
        // Figures and times that cannot be meant: nothing of the summary is taken.
        const QStringList refused = kPreviousWords;
        QTest::newRow("negative load") << Json("{'CurrentSystemDemand':-45165,'gridstatus':['Normal']}")
            << QVariantMap() << refused << u"implausible CurrentSystemDemand -45165"_qs;
        QTest::newRow("1e300 peak") << Json("{'TodaysPeakDemand':1e300}")
            << QVariantMap() << refused << u"implausible TodaysPeakDemand 1e+300"_qs;
        QTest::newRow("surplus of -99,999,999") << Json("{'Current_reserve':-99999999}")
            << QVariantMap() << refused << u"implausible Current_reserve -99999999"_qs;
        QTest::newRow("resources below none") << Json("{'CurrentSystemDemand':1000,'Current_reserve':-5000}")
            << QVariantMap() << refused << u"implausible resources -4000"_qs;
        QTest::newRow("year 9999") << Json("{'slotDate':'08/31/9999 13:05','CurrentSystemDemand':31456}")
            << QVariantMap() << refused << u"implausible slotDate 08/31/9999 13:05"_qs;
        QTest::newRow("truncated") << Json("{'slotDate':'08/31/2022 13:05','CurrentSystemDem")
            << QVariantMap() << refused << u"not valid JSON"_qs;
        QTest::newRow("stamp two days ahead") << Json("{'CurrentSystemDemandTS':202209021300}")
            << QVariantMap() << refused << u"implausible CurrentSystemDemandTS 202209021300"_qs;
        // clang-format on
    }

    void summary()
    {
        QFETCH(QByteArray, body);
        QFETCH(QVariantMap, changed);
        QFETCH(QString, problem);
        QString why;
        const auto summary = ReadStatsSummary(body, Previous(), kPreviousWords, kSummaryNow, &why);
        QCOMPARE(why, problem);
        if (!summary)
            return;
        QVariantMap expected = Fields(Previous());
        expected.insert(changed);
        QCOMPARE(Fields(summary->status), expected);
        QVERIFY(summary->status.ReductionsNotPublished); // never shown as zeros
        QTEST(summary->operatorStatus, "words");
    }

    // HTML where JSON or CSV belongs, told by the type or by the body.
    void refusedBodies_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<bool>("html");

        QTest::newRow("maintenance page") // constructed
            << QByteArray("\r\n<!DOCTYPE html><html><body>Down for maintenance</body></html>")
            << QByteArray("text/plain") << true;
        QTest::newRow("declared HTML")
            << QByteArray("{}") << QByteArray("text/html; charset=utf-8") << true;
        QTest::newRow("JSON") << Json("{'slotDate':") << QByteArray("application/json") << false;
    }

    void refusedBodies()
    {
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, contentType);
        QTEST(IsHtmlBody(body, contentType), "html");
    }

    void demand_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("hourEnding");
        QTest::addColumn<QList<double>>("series"); // 1 to 4; -1 kept, 0 a hole; none: ignored
        QTest::addColumn<QString>("latestActual");
        QTest::addColumn<double>("resources"); // read at 04:20, the summary's
        const auto row = [](const char *title, const QByteArray &body, int hourEnding,
                            const QList<double> &series, const char *latest = "23:55",
                            double resources = 41000) {
            QTest::newRow(title) << body << hourEnding << series << QString::fromLatin1(latest)
                                 << resources;
        };
        const QByteArray spring = Sample(u"netdemand_history_20190310_spring-forward.csv"_qs);
        const QByteArray fall = Sample(u"netdemand_history_20191103_fall-back.csv"_qs);
        // Both files end in the next day's "00:00", which must not count.
        row("spring forward, the skipped hour", spring, 3, {-1, 0, 0, 0});
        row("fall back, the collapsed hour", fall, 2, {-1, 233261.0 / 12, 232318.0 / 12, 0});
        row("fall back, the summary's hour", fall, 5, {-1, 222917.0 / 12, 222976.0 / 12, 41000});
        // The live header and first row of current/demand.csv (2026-07-27), verbatim.
        const QByteArray live = "Time,Day ahead forecast,Hour ahead forecast,Current demand,"
                                "Demand response\n00:00,30243,29312,29138,\n";
        row("live excerpt", live, 1, {30243, 29312, 29138, 0}, "00:00");
        // Constructed: columns reordered, one added, a future row without actual demand.
        row("columns by name",
            "Time,Demand response,Current demand,Extra,Hour ahead forecast,Day ahead forecast\r\n"
            "00:00,,100,7,200,300\r\n00:05,,110,7,210,310\r\n00:10,,,7,220,320\r\n",
            1, {310, 210, 105, 0}, "00:05");
        // Constructed: the rare forms beside the usual ones; no valid time, no row.
        row("hour and number forms",
            "Time,Current demand\n0:00,100\n00:20, 1000.5 \n0:40,\t0200\n24:00,900\n0:60,900\n"
            "1:00,abc\n1:5,900\n",
            1, {-1, -1, (100 + 1000.5 + 200) / 3, 0}, "00:40");
        row("fuel sources (verbatim), ignored", Sample(u"fuelsource_history_20230101.csv"_qs), 1,
            {}, "");
        // Before any reserve was read the summary holds no resources: no 0 MW point.
        row("no resources yet", "Time,Current demand\n00:00,100\n", 5, {-1, -1, 0, 0}, "00:00", 0);
        row("no Time column, ignored", "Current demand\n100\n", 1, {}, "");
        // Constructed: values that cannot be meant refuse the file.
        row("negative demand, refused", "Time,Current demand\n00:00,100\n00:05,-30000\n", 1, {},
            "");
        row("1e20 forecast, refused", "Time,Day ahead forecast\n00:00,1e20\n", 1, {}, "");
    }

    void demand()
    {
        QFETCH(QByteArray, body);
        QFETCH(int, hourEnding);
        QFETCH(QList<double>, series);
        QFETCH(QString, latestActual);
        QFETCH(double, resources);
        const auto day = ReadDemandCsv(QString::fromLatin1(body), Filled(-1),
                                       ResourcesNow{QTime(4, 20), resources});
        QCOMPARE(bool(day), !series.isEmpty());
        if (!day)
            return;
        QList<double> values;
        for (int s = 1; s <= OutlookSeriesCount; ++s) {
            const double value = day->values.value(hourEnding, s);
            QVERIFY(value != 0); // a 0 MW point where nothing is known
            values << (value == HoleValue ? 0 : value);
        }
        QCOMPARE(values, series);
        QCOMPARE(day->latestActual.value_or(QTime()).toString(u"HH:mm"_qs), latestActual);
    }

    void flexAlerts_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("updatedOn");  // empty: refused
        QTest::addColumn<QStringList>("active"); // "ID title start end regions"
        QTest::addColumn<QStringList>("future");

        const QByteArray active = Sample(u"ActiveFlexAlertEvents_flexalert-active.json"_qs);
        const QStringList now{u"6 Flex alert for 06/11/2021 2021-06-11T09:00:00 "
                              "2021-06-11T21:00:00 Northern California|VEA Region"_qs};
        const QStringList later{u"1 Flex alert for 06/14/2021 2021-06-14T16:00:00 "
                                "2021-06-14T21:00:00 Statewide"_qs,
                                u"2 Flex alert for 06/15/2021 2021-06-15T15:00:00 "
                                "2021-06-15T21:00:00 Southern California"_qs};
        QTest::newRow("active (verbatim)") << active << u"2021-06-11T09:05:29"_qs << now << later;
        QTest::newRow("inactive as XML (verbatim)")
            << Sample(u"ActiveFlexAlertEvents_flexalert-inactive.xml"_qs)
            << u"2026-04-21T15:44:23"_qs << QStringList() << QStringList();
        QTest::newRow("truncated")
            << active.first(200) << QString() << QStringList() << QStringList();
        // Constructed from the verbatim sample.
        QTest::newRow("starting in year 1")
            << QByteArray(active).replace("06-14-2021 16:00", "06-14-0001 16:00") << QString()
            << QStringList() << QStringList();
        QTest::newRow("direction controls taken out")
            << QByteArray(active)
                   .replace("Flex alert for 06/11/2021", "Flex alert \u202Efor 06/11/2021\u202C")
                   .replace("Statewide", "State\u2067wide")
            << u"2021-06-11T09:05:29"_qs << now << later;
    }

    void flexAlerts()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, updatedOn);
        QFETCH(QStringList, active);
        QFETCH(QStringList, future);
        QString problem;
        const auto events = ReadFlexAlertEvents(body, kFlexAlertNow, &problem);
        QCOMPARE(bool(events), !updatedOn.isEmpty());
        if (!events) {
            QVERIFY(!problem.isEmpty());
            return;
        }
        const auto describe = [](const QList<FlexAlertEvent> &list) {
            QStringList lines;
            for (const FlexAlertEvent &e : list)
                lines << QStringList{e.id, e.title, Date(e.start.value_or(OleDate())),
                                     Date(e.end.value_or(OleDate())), e.regions.join(u'|')}
                             .join(u' ');
            return lines;
        };
        QCOMPARE(Date(events->updatedOn.value_or(OleDate())), updatedOn);
        QCOMPARE(events->isActive, !active.isEmpty());
        QCOMPARE(describe(events->active), active);
        QCOMPARE(describe(events->future), future);
    }

    void texts()
    {
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        QString problem;
        const auto active = ReadFlexAlertEvents(
            Sample(u"ActiveFlexAlertEvents_flexalert-active.json"_qs), kFlexAlertNow, &problem);
        QVERIFY(active);
        const NoticesTexts notices = FeedNoticesTexts({u"Flex Alert"_qs}, active, us);
        QCOMPARE(notices.StatusTableText,
                 u"Grid status: Flex Alert\r\nFlex Alert 6: Flex alert for 06/11/2021"_qs);
        QCOMPARE(notices.NoticesText,
                 u"Current Active Notice(s): \r\n\r\nGrid status: Flex Alert\r\n\r\n"
                 "Flex alert for 06/11/2021\r\nStart: 6/11/2021 9:00:00 AM\r\n"
                 "End: 6/11/2021 9:00:00 PM\r\nRegions: Northern California, VEA Region"_qs);
        QVERIFY(FeedForecastsText(*active, us).contains(u"Flex alert for 06/15/2021\r\nStart: "));
        QCOMPARE(FeedNoticesTexts({}, std::nullopt, us).StatusTableText, QString());
    }
};

QTEST_GUILESS_MAIN(TestFeedReaders)
#include "test_feed_readers.moc"
