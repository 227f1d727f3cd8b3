#include "status/status_formats.h"
#include "status/status_presentation.h"

#include <QtTest>

#include <cmath>

using namespace voltwise;

namespace {
const QLocale kUs(QLocale::English, QLocale::UnitedStates);
const QLocale kGerman(QLocale::German, QLocale::Germany);

// 4 July 2023 15:05:00
OleDate julyAfternoon()
{
    return OleDate::fromDateAndTime(QDate(2023, 7, 4), QTime(15, 5));
}
} // namespace

class TestStatusPresentation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void levels_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("condition"); // empty: left as it was
        QTest::addColumn<QString>("stripText");
        QTest::addColumn<int>("image");    // 0: left as it was
        QTest::addColumn<int>("litLabel"); // -1: none

        QTest::newRow("unknown") << 0 << u"Status Unknown"_qs << u"Status Unknown"_qs << 1 << -1;
        QTest::newRow("normal") << 1 << u"System Normal"_qs << u"System Normal"_qs << 2 << 0;
        QTest::newRow("alert") << 2 << u"Alert Notice"_qs << u"Alert Notice"_qs << 3 << 1;
        QTest::newRow("warning") << 3 << u"Warning Notice"_qs << u"Warning Notice"_qs << 4 << 2;
        QTest::newRow("stage 1") << 4 << u"Stage 1 Emergency"_qs << u"Stage 1 Emergency"_qs << 5
                                 << 3;
        QTest::newRow("stage 2") << 5 << u"Stage 2 Emergency"_qs << u"Stage 2 Emergency"_qs << 6
                                 << 4;
        QTest::newRow("stage 3") << 6 << u"Stage 3 Emergency"_qs << u"Stage 3 Emergency"_qs << 7
                                 << 5;
        QTest::newRow("interruptions")
            << 7 << u"Emergency Load Reductions"_qs << u"Rolling Blackouts"_qs << 8 << 5;
        QTest::newRow("above range") << 8 << QString() << QString() << 0 << -1;
        QTest::newRow("negative") << -1 << QString() << QString() << 0 << -1;
    }

    void levels()
    {
        QFETCH(int, level);
        QFETCH(QString, condition);
        QFETCH(QString, stripText);
        QFETCH(int, image);
        QFETCH(int, litLabel);

        GridStatus status;
        status.Level = level;
        status.ActualDemand = 31456.4;
        const StatusPresentation p = PresentStatus(status, kUs);

        if (condition.isEmpty()) {
            QVERIFY(!p.SystemCondition);
            QVERIFY(!p.lblStatusText);
            QVERIFY(!p.imageIndex);
            QVERIFY(!p.trayTip);
        } else {
            QCOMPARE(p.SystemCondition, condition);
            QCOMPARE(p.lblStatusText, stripText);
            QCOMPARE(p.imageIndex, image);
            QCOMPARE(p.trayTip, condition + u": 31,456 MW"_qs);
        }
        for (int i = 0; i < 6; ++i)
            QCOMPARE(p.lblStatus[static_cast<std::size_t>(i)], i == litLabel);
        // The figures do not depend on the level.
        QCOMPARE(p.lblCurrentCondition[2], u" 31,456 MW"_qs);
    }

    void outOfRangeLevelKeepsPublishedCondition()
    {
        GridStatus status;
        status.Level = 9;
        status.ActualDemand = 100;
        PublishedItems previous{u"x"_qs, u"Alert Notice"_qs, u"1"_qs};
        const PublishedItems items = PresentStatus(status, kUs).publishedItems(previous);
        QCOMPARE(items.SystemCondition, u"Alert Notice"_qs);
        QCOMPARE(items.CurrentLoad, u"100"_qs);

        status.Level = 2;
        QCOMPARE(
            PresentStatus(status, kUs).publishedItems(PublishedItems::initial()).SystemCondition,
            u"Alert Notice"_qs);
    }

    void initialItems()
    {
        const PublishedItems items = PublishedItems::initial();
        QCOMPARE(items.UpdateTime, u"Not Updated"_qs);
        QCOMPARE(items.SystemCondition, u"Unknown"_qs);
        QCOMPARE(items.CurrentLoad, u"0"_qs);
    }

    void forecastScale_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("litLabel");
        QTest::newRow("none") << 0 << -1;
        QTest::newRow("48-hour") << 1 << 0;
        QTest::newRow("24-hour") << 2 << 1;
        QTest::newRow("1-hour") << 3 << 2;
        QTest::newRow("unknown kind") << 4 << -1;
    }

    void forecastScale()
    {
        QFETCH(int, kind);
        QFETCH(int, litLabel);
        GridStatus status;
        status.ForecastKind = kind;
        const StatusPresentation p = PresentStatus(status, kUs);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(p.lblForecast[static_cast<std::size_t>(i)], i == litLabel);
    }

    void figures_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("mwText");
        QTest::addColumn<QString>("plain");

        QTest::newRow("us grouping") << kUs << 31456.4 << u" 31,456 MW"_qs << u"31456.4"_qs;
        QTest::newRow("us rounds up") << kUs << 1234.5 << u" 1,235 MW"_qs << u"1234.5"_qs;
        QTest::newRow("us negative") << kUs << -1234.6 << u" -1,235 MW"_qs << u"-1234.6"_qs;
        QTest::newRow("us zero") << kUs << 0.0 << u" 0 MW"_qs << u"0"_qs;
        QTest::newRow("us small negative") << kUs << -0.4 << u" 0 MW"_qs << u"-0.4"_qs;
        QTest::newRow("de grouping") << kGerman << 31456.4 << u" 31.456 MW"_qs << u"31456,4"_qs;
        QTest::newRow("de negative") << kGerman << -1234.6 << u" -1.235 MW"_qs << u"-1234,6"_qs;
        QTest::newRow("de zero") << kGerman << 0.0 << u" 0 MW"_qs << u"0"_qs;
    }

    // Every figure row formats its own field, and CurrentLoad is the plain number.
    void figures()
    {
        QFETCH(QLocale, locale);
        QFETCH(double, value);
        QFETCH(QString, mwText);
        QFETCH(QString, plain);
        QCOMPARE(MwText(value, locale), mwText);

        double GridStatus::*const fields[] = {
            &GridStatus::AvailableResources, &GridStatus::ActualDemand,
            &GridStatus::ReserveMargin,      &GridStatus::PeakDemandToday,
            &GridStatus::ForecastPeakToday,  &GridStatus::ForecastPeakTomorrow};
        for (std::size_t i = 0; i < std::size(fields); ++i) {
            GridStatus status;
            status.*fields[i] = value;
            const StatusPresentation p = PresentStatus(status, locale);
            for (std::size_t row = 1; row < 7; ++row)
                QCOMPARE(p.lblCurrentCondition[row], row == i + 1 ? mwText : MwText(0, locale));
            QCOMPARE(p.CurrentLoad, fields[i] == &GridStatus::ActualDemand ? plain : u"0"_qs);
        }
    }

    void dates_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<double>("when");
        QTest::addColumn<QString>("updateTime");
        QTest::addColumn<QString>("updatedLine");

        const double july = julyAfternoon().days;
        const double midnight = OleDate::fromDateAndTime(QDate(2023, 7, 4), QTime(0, 0)).days;
        QTest::newRow("us") << kUs << july << u"7/4/2023 3:05:00 PM"_qs
                            << u"Updated: 7/4/2023 3:05:00 PM"_qs;
        QTest::newRow("us midnight")
            << kUs << midnight << u"7/4/2023"_qs << u"Updated: 7/4/2023"_qs;
        QTest::newRow("us zero") << kUs << 0.0 << u"12:00:00 AM"_qs << u"Updated: Not Updated"_qs;
        QTest::newRow("de") << kGerman << july << u"04.07.2023 15:05:00"_qs
                            << u"Updated: 04.07.2023 15:05:00"_qs;
        QTest::newRow("de zero") << kGerman << 0.0 << u"00:00:00"_qs << u"Updated: Not Updated"_qs;
    }

    void dates()
    {
        QFETCH(QLocale, locale);
        QFETCH(double, when);
        QFETCH(QString, updateTime);
        QFETCH(QString, updatedLine);
        GridStatus status;
        status.ActualDemandTime = OleDate{when};
        const StatusPresentation p = PresentStatus(status, locale);
        QCOMPARE(p.UpdateTime, updateTime);
        QCOMPARE(p.lblCurrentCondition[0], updatedLine);
    }

    void formatDateText()
    {
        QCOMPARE(FormatDateText(OleDate{}, u"Undetermined"_qs, kUs), u"Undetermined"_qs);
        QCOMPARE(FormatDateText(julyAfternoon(), u"Undetermined"_qs, kUs),
                 u"7/4/2023 3:05:00 PM"_qs);
        // A time with no date part is a real value, not the default.
        QCOMPARE(FormatDateText(OleDate{0.5}, u"-"_qs, kGerman), u"12:00:00"_qs);
    }

    void chartHeader_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<double>("demand");
        QTest::addColumn<double>("when");
        QTest::addColumn<QString>("header"); // empty: keeps its text

        const double july = julyAfternoon().days;
        QTest::newRow("us") << kUs << 31456.4 << july
                            << u"Current Load: 31,456 MW\r\nUpdated: 7/4/2023 3:05:00 PM"_qs;
        QTest::newRow("de") << kGerman << 31456.4 << july
                            << u"Current Load: 31.456 MW\r\nUpdated: 04.07.2023 15:05:00"_qs;
        QTest::newRow("no time") << kUs << -12.0 << 0.0
                                 << u"Current Load: -12 MW\r\nUpdated: Not Updated"_qs;
        QTest::newRow("no load") << kUs << 0.0 << july << QString();
    }

    void chartHeader()
    {
        QFETCH(QLocale, locale);
        QFETCH(double, demand);
        QFETCH(double, when);
        QFETCH(QString, header);
        GridStatus status;
        status.ActualDemand = demand;
        status.ActualDemandTime = OleDate{when};
        const StatusPresentation p = PresentStatus(status, locale);
        if (header.isEmpty())
            QVERIFY(!p.chartHeader);
        else
            QCOMPARE(p.chartHeader, header);
    }

    void trayTipCut_data()
    {
        QTest::addColumn<QString>("tip");
        QTest::addColumn<QString>("shown");
        const QString exact(63, u'a');
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("63 whole") << exact << exact;
        QTest::newRow("64 cut") << exact + u'b' << exact;
        QTest::newRow("70 cut") << QString(70, u'c') << QString(63, u'c');
        const QString clef = u"\U0001D11E"_qs; // two UTF-16 units
        QTest::newRow("pair kept whole")
            << QString(61, u'a') + clef + u'z' << QString(61, u'a') + clef;
        QTest::newRow("pair not split") << QString(62, u'a') + clef << QString(62, u'a');
    }

    void trayTipCut()
    {
        QFETCH(QString, tip);
        QFETCH(QString, shown);
        QCOMPARE(CutTrayTip(tip), shown);
    }

    void trayTipFromHugeLoadIsCut()
    {
        GridStatus status;
        status.Level = LevelLoadInterruptions;
        status.ActualDemand = std::ldexp(1.0, 100); // 1,267,650,600,... exactly
        const StatusPresentation p = PresentStatus(status, kUs);
        QVERIFY(p.trayTip);
        QCOMPARE(p.trayTip->size(), kTrayTipMaxLength);
        QVERIFY(p.trayTip->startsWith(u"Emergency Load Reductions: 1,267,650,600,"_qs));
    }
};

QTEST_GUILESS_MAIN(TestStatusPresentation)
#include "tst_status_presentation.moc"
