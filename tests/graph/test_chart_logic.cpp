// The load chart's rules without widgets: the series mask, the curve pieces
// and the axis, the header, the read-out and its nearest point.
#include "graph/chart_header.h"
#include "graph/chart_plot.h"
#include "graph/chart_readout.h"
#include "graph/chart_series.h"

#include <QTest>

using namespace voltwise;

Q_DECLARE_METATYPE(voltwise::SeriesVisibility)
Q_DECLARE_METATYPE(voltwise::ValueAxisRange)
Q_DECLARE_METATYPE(voltwise::ChartHit)
Q_DECLARE_METATYPE(voltwise::ChartReadout::Action)

namespace {

const QLocale kUs(QLocale::English, QLocale::UnitedStates);
const QLocale kGerman(QLocale::German, QLocale::Germany);
const QList<double> kHours = MakeSequence(1, 1, OutlookHourCount);
using Cells = QList<QPair<int, int>>; // (hour, series)

// Series s at hour h: (s * 1000 + h * 10) unless listed as a hole or as
// never read.
OutlookValues Figures(const Cells &holes = {}, const Cells &unread = {})
{
    OutlookValues values;
    for (int h = 1; h <= OutlookHourCount; ++h)
        for (int s = 1; s <= OutlookSeriesCount; ++s)
            if (!unread.contains({h, s}))
                values.setValue(h, s, holes.contains({h, s}) ? HoleValue : s * 1000 + h * 10);
    return values;
}

} // namespace

class TestChartLogic : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void graphValues_data()
    {
        QTest::addColumn<int>("mask");
        QTest::addColumn<SeriesVisibility>("shown");
        QTest::addColumn<int>("click"); // a Graph menu item
        QTest::addColumn<int>("after");
        QTest::newRow("0 hides all; a click shows one")
            << 0 << SeriesVisibility{false, false, false, false} << 3 << 4;
        QTest::newRow("15 shows all") << 15 << SeriesVisibility{true, true, true, true} << 1 << 14;
        QTest::newRow("16 as 0") << 16 << SeriesVisibility{false, false, false, false} << 2 << 18;
        QTest::newRow("every bit") << -1 << SeriesVisibility{true, true, true, true} << 2 << -3;
    }

    void graphValues()
    {
        QFETCH(int, mask);
        QFETCH(int, click);
        QFETCH(int, after);
        QTEST(SeriesShown(mask), "shown");
        QCOMPARE(FlipGraphValue(mask, click), after);
        QCOMPARE(FlipGraphValue(after, click), mask); // a second click restores
    }

    void holesSplitCurves_data()
    {
        QTest::addColumn<Cells>("holes");
        QTest::addColumn<Cells>("unread");
        QTest::addColumn<QList<int>>("starts"); // first hour of each piece
        QTest::addColumn<QList<int>>("lengths");
        // Hours first..last of series 3.
        const auto hours = [](int first, int last = 0) {
            Cells cells;
            for (int h = first; h <= std::max(first, last); ++h)
                cells.append({h, 3});
            return cells;
        };
        QTest::newRow("none") << Cells{} << Cells{} << QList<int>{1} << QList<int>{24};
        QTest::newRow("one inside") << hours(5) << Cells{} << QList<int>{1, 6} << QList<int>{4, 19};
        QTest::newRow("rest of the day")
            << hours(16, 24) << Cells{} << QList<int>{1} << QList<int>{15};
        QTest::newRow("a point alone")
            << hours(9) + hours(11) << Cells{} << QList<int>{1, 10, 12} << QList<int>{8, 1, 13};
        QTest::newRow("never read after noon")
            << Cells{} << hours(13, 24) << QList<int>{1} << QList<int>{12};
    }

    void holesSplitCurves()
    {
        QFETCH(Cells, holes);
        QFETCH(Cells, unread);
        const OutlookValues values = Figures(holes, unread);
        const QList<QList<QPointF>> pieces = CurveSegments(kHours, values, 3);
        QList<int> gotStarts, gotLengths;
        for (const QList<QPointF> &piece : pieces) {
            gotStarts << int(piece.first().x());
            gotLengths << int(piece.size());
            for (const QPointF &p : piece)
                QCOMPARE(p.y(), values.value(int(p.x()), 3));
        }
        QTEST(gotStarts, "starts");
        QTEST(gotLengths, "lengths");
    }

    void valueAxis_data()
    {
        QTest::addColumn<int>("mask");
        QTest::addColumn<int>("holeSeries"); // all day a hole; 0 none
        QTest::addColumn<ValueAxisRange>("range");
        QTest::newRow("all shown") << 15 << 0 << ValueAxisRange{1000, 4500, 8};
        QTest::newRow("resources hidden") << 7 << 0 << ValueAxisRange{1000, 3500, 6};
        QTest::newRow("resources all holes") << 15 << 4 << ValueAxisRange{1000, 3500, 6};
        QTest::newRow("one series") << 4 << 0 << ValueAxisRange{3000, 3250, 6};
        QTest::newRow("nothing shown") << 0 << 0 << ValueAxisRange{-600, 600, 7};
        // Never read counts as nothing, not as a load of zero.
        QTest::newRow("resources never read") << 15 << -4 << ValueAxisRange{1000, 3500, 6};
    }

    void valueAxis()
    {
        QFETCH(int, mask);
        QFETCH(int, holeSeries); // negative: never read rather than a hole
        Cells cells;
        for (int h = 1; holeSeries && h <= OutlookHourCount; ++h)
            cells.append({h, std::abs(holeSeries)});
        const OutlookValues values = holeSeries < 0 ? Figures({}, cells) : Figures(cells);
        QTEST(ScaleValueAxis(values, SeriesShown(mask)), "range");
    }

    void header_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<double>("demand");
        QTest::addColumn<QDateTime>("time"); // invalid: not set
        QTest::addColumn<QStringList>("lines");
        const QDateTime afternoon(QDate(2024, 7, 15), QTime(14, 32, 10));
        QTest::newRow("de_DE") << kGerman << 31456.5 << afternoon
                               << QStringList{u"Current Load: 31.457 MW"_qs,
                                              u"Updated: 15.07.2024 14:32:10"_qs};
        QTest::newRow("time not set")
            << kUs << 28000.0 << QDateTime()
            << QStringList{u"Current Load: 28,000 MW"_qs, u"Updated: Not Updated"_qs};
        QTest::newRow("demand 0 keeps the header")
            << kUs << 0.0 << afternoon
            << QStringList{u"Current Load: 1 MW"_qs, u"Updated: earlier"_qs};
    }

    void header()
    {
        QFETCH(QLocale, locale);
        QFETCH(double, demand);
        QFETCH(QDateTime, time);
        QFETCH(QStringList, lines);
        GridStatus status;
        status.ActualDemand = demand;
        if (time.isValid())
            status.ActualDemandTime = OleDate::fromDateTime(time);
        const ChartHeader previous{u"Current Load: 1 MW"_qs, u"Updated: earlier"_qs};
        QCOMPARE(NextChartHeader(status, previous, locale).lines(), lines);
        QCOMPARE(ChartHeader().lines(),
                 (QStringList{u"Current Load: Unknown"_qs, u"Updated: Not Updated"_qs}));
    }

    void readoutText_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<int>("point");
        QTest::addColumn<QString>("text");
        QTest::newRow("en_US 3 PM") << kUs << 15 << u"Actual Demand: 31,456MW at 3:00:00 PM"_qs;
        QTest::newRow("en_US hour 24 is midnight")
            << kUs << 24 << u"Actual Demand: 31,456MW at 12:00:00 AM"_qs;
        QTest::newRow("de_DE midnight")
            << kGerman << 24 << u"Actual Demand: 31.456MW at 00:00:00"_qs;
    }

    void readoutText()
    {
        QFETCH(QLocale, locale);
        QFETCH(int, point);
        QTEST(ReadoutText(u"Actual Demand", 31456.2, point, locale), "text");
    }

    // The plot spans 50..280 by 20..220 pixels: one hour is 10 pixels, 1000 MW
    // are 40 pixels, so series 3 at hour 15 (3150 MW) lies at (190, 94).
    void nearestPoint_data()
    {
        QTest::addColumn<QPointF>("pointer");
        QTest::addColumn<int>("mask");
        QTest::addColumn<Cells>("holes");
        QTest::addColumn<bool>("pressed");
        QTest::addColumn<ChartHit>("hit");
        QTest::addColumn<ChartReadout::Action>("action");
        using enum ChartReadout::Action;
        QTest::newRow("on a point")
            << QPointF(190, 94) << 15 << Cells{} << false << ChartHit{true, 3, 15} << Mark;
        QTest::newRow("near a point")
            << QPointF(112, 130) << 15 << Cells{} << false << ChartHit{true, 2, 7} << Mark;
        QTest::newRow("hidden series skipped")
            << QPointF(190, 90) << 11 << Cells{} << false << ChartHit{true, 4, 15} << Mark;
        QTest::newRow("hole skipped, tie to the earlier point")
            << QPointF(190, 94) << 15 << Cells{{15, 3}} << false << ChartHit{true, 3, 14} << Mark;
        QTest::newRow("corner of the plot")
            << QPointF(50, 220) << 15 << Cells{} << false << ChartHit{true, 1, 1} << Mark;
        QTest::newRow("nothing shown")
            << QPointF(190, 94) << 0 << Cells{} << false << ChartHit{true, 0, 0} << Keep;
        QTest::newRow("button pressed")
            << QPointF(190, 94) << 15 << Cells{} << true << ChartHit{true, 3, 15} << Keep;
        QTest::newRow("below the plot (legend)")
            << QPointF(100, 221) << 15 << Cells{} << false << ChartHit{} << Clear;
    }

    void nearestPoint()
    {
        QFETCH(QPointF, pointer);
        QFETCH(int, mask);
        QFETCH(Cells, holes);
        QFETCH(bool, pressed);
        QFETCH(ChartHit, hit);
        QFETCH(ChartReadout::Action, action);
        const PlotFrame frame{QRectF(50, 20, 230, 200), 1, 24, 0, 5000};
        const OutlookValues values = Figures(holes);
        const SeriesVisibility shown = SeriesShown(mask);

        QCOMPARE(HitTestChart(frame, kHours, values, shown, pointer), hit);
        const ChartReadout readout = ReadoutAt(frame, kHours, values, shown, pointer, pressed, kUs);
        QCOMPARE(readout.action, action);
        if (action != ChartReadout::Action::Mark)
            return;
        QCOMPARE(readout.x, double(hit.point));
        QCOMPARE(readout.y, values.value(hit.point, hit.series));
        QCOMPARE(readout.text, ReadoutText(OutlookSeriesNames[std::size_t(hit.series - 1)],
                                           readout.y, hit.point, kUs));
    }
};

QTEST_GUILESS_MAIN(TestChartLogic)
#include "test_chart_logic.moc"
