#include "gridsim/grid_sim.h"
#include "gridsim/load_picture.h"
#include "pages/forecast_reader.h"
#include "pages/notices_reader.h"
#include "pages/outlook_reader.h"
#include "refresh/status_csv_reader.h"

#include <QImage>
#include <QRegularExpression>
#include <QTest>

using namespace voltwise;
using namespace voltwise::gridsim;

namespace {
const QDateTime kAfternoon(QDate(2001, 8, 13), QTime(14, 25, 3));

QDateTime today(int hour, int minute)
{
    return QDateTime(kAfternoon.date(), QTime(hour, minute));
}
} // namespace

// The simulator's resources as the program's own readers see them.
class TestGridSimContent : public QObject
{
    Q_OBJECT

private:
    GridSim m_sim;

    QString text(QStringView path) const { return QString::fromLatin1(m_sim.resource(path)->body); }

    QString statusTable() const
    {
        return ReadNoticesPage(text(kStatusPagePath), {}).StatusTableText;
    }

private Q_SLOTS:
    void init()
    {
        m_sim.setClock([] { return kAfternoon; });
        m_sim.setScenario(ScenarioKind::Walk);
    }

    void walk_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("notice"); // the forecast notice row; empty: none
        const int levels[] = {1, 2, 3, 4, 5, 6, 7, 1};
        const char *notices[] = {"", "48", "48", "24", "24", "1", "1", ""};
        for (int step = 0; step < 8; ++step)
            QTest::addRow("step %d", step)
                << step << levels[step]
                << (*notices[step]
                        ? QString::fromLatin1(notices[step]) + u" HOUR FORECAST NOTICE"_qs
                        : QString());
    }

    void walk()
    {
        QFETCH(int, step);
        QFETCH(int, level);
        QFETCH(QString, notice);
        for (int i = 0; i < step; ++i)
            m_sim.advance();

        const QString csv = text(kStatusCsvPath);
        QVERIFY(csv.startsWith(u"PRODUCED,Mon Aug 13 14:25:03 "_qs) && csv.endsWith(u"\r\n"_qs));
        QVERIFY(!csv.contains(QRegularExpression(u"[^\r]\n"_qs)));
        const GridStatus s = ReadStatusCsv(csv, {});
        QCOMPARE(s.Level, level);
        QCOMPARE(s.Produced.toDateTime(), kAfternoon);
        QCOMPARE(s.ActualDemandTime.toDateTime(), today(14, 25));
        QCOMPARE(s.AvailableResourcesTime, s.ActualDemandTime);
        QVERIFY(s.ActualDemand > 30000 && s.ActualDemand < 50000);
        QCOMPARE(s.AvailableResources > s.ActualDemand, level != LevelLoadInterruptions);
        QVERIFY(s.PeakDemandToday >= s.ActualDemand);
        QVERIFY(s.ForecastPeakToday > 0 && s.ForecastPeakTomorrow > 0);
        if (level != LevelNormal)
            QVERIFY(s.LevelStart.toDateTime() == today(14, 0) &&
                    s.LevelEnd.days > s.LevelStart.days);
        QCOMPARE(csv.count(u"FORECAST NOTICE"_qs), notice.isEmpty() ? 0 : 1);
        QVERIFY(notice.isEmpty() || csv.contains(u"\r\n"_qs + notice + u','));
        QCOMPARE(s.NoticeEnd.days > s.NoticeStart.days && !s.NoticeStart.isZero(),
                 !notice.isEmpty());
        const double cut =
            s.Interruption1 + s.Interruption2 + s.Interruption3 + s.Interruption4 + s.Interruption5;
        QCOMPARE(cut > 0, level == LevelLoadInterruptions);
        QCOMPARE(s.NoticeValue > 0, notice.startsWith(u"1 "_qs));
        if (cut > 0)
            QCOMPARE(s.NoticeValue, cut);

        const NoticesTexts page = ReadNoticesPage(text(kStatusPagePath), {});
        QVERIFY(page.NoticesText.startsWith(u"Current Active Notice(s)"_qs));
        QVERIFY(!page.StatusTableText.isEmpty());
        QCOMPARE(page.NoticesText.contains(u"No active notices"_qs), level == LevelNormal);
        if (level == LevelLoadInterruptions)
            QVERIFY(page.NoticesText.contains(u"PG&E"_qs));
        const QString forecast = ReadForecastPage(text(kForecastPagePath), {});
        QCOMPARE(forecast.contains(u"No forecasts"_qs), notice.isEmpty());
        QVERIFY(notice.isEmpty() || forecast.contains(u"\r\n\r\n"_qs + notice));
    }

    void statusTableChangesWithTheLevelOnly()
    {
        QStringList tables;
        for (int step = 0; step < 7; ++step, m_sim.advance()) {
            QVERIFY(!tables.contains(statusTable()));
            tables << statusTable();
            m_sim.setClock([] { return kAfternoon.addSecs(600); }); // the figures move
            QCOMPARE(statusTable(), tables.last());
            m_sim.setClock([] { return kAfternoon; });
        }
        m_sim.setScenario(ScenarioKind::Normal);
        const QString normal = statusTable();
        const QString csv = text(kStatusCsvPath);
        m_sim.advance();
        QCOMPARE(statusTable(), normal);
        QVERIFY2(text(kStatusCsvPath) != csv, "the normal scenario's figures drift");
    }

    void outlookPage_data()
    {
        QTest::addColumn<QTime>("time");
        QTest::addColumn<int>("hoursDone");
        QTest::newRow("after midnight") << QTime(0, 30) << 0;
        QTest::newRow("afternoon") << QTime(14, 25, 3) << 14;
        QTest::newRow("last hour") << QTime(23, 59) << 23;
    }

    // Actual demand has holes for the hours still to come.
    void outlookPage()
    {
        QFETCH(QTime, time);
        QFETCH(int, hoursDone);
        m_sim.setClock([time] { return QDateTime(kAfternoon.date(), time); });
        OutlookValues unread;
        for (int hour = 1; hour <= OutlookHourCount; ++hour)
            for (int series = 1; series <= OutlookSeriesCount; ++series)
                unread.setValue(hour, series, -1);
        const OutlookValues v = ReadOutlookPage(text(kOutlookPagePath), unread);
        for (int hour = 1; hour <= OutlookHourCount; ++hour) {
            for (int series = 1; series <= OutlookSeriesCount; ++series) {
                const double mw = v.value(hour, series);
                const bool hole = series == 3 && hour > hoursDone;
                QVERIFY2(hole ? mw == HoleValue : mw >= 10000 && mw < 100000,
                         qPrintable(u"hour %1 series %2: %3"_qs.arg(hour).arg(series).arg(mw)));
            }
            QVERIFY(v.value(hour, 1) >= 20000 && v.value(hour, 1) <= 50000);
            QVERIFY(v.value(hour, 4) > v.value(hour, 1));
        }
    }

    void loadPicture()
    {
        QImage image;
        QVERIFY(image.loadFromData(m_sim.resource(kLoadPicturePath)->body));
        QCOMPARE(image.size(), QSize(kLoadPictureWidth, kLoadPictureHeight));
        int coloured = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                coloured += image.pixelColor(x, y).saturation() > 100;
        QVERIFY2(coloured > 300, "the chart has its curves");
        QVERIFY(!m_sim.resource(u"/outlook/SP/other.html").has_value());
    }
};

QTEST_MAIN(TestGridSimContent)
#include "tst_gridsim_content.moc"
