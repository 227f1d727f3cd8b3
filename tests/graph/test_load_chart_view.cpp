// The chart's read-out driven by real pointer movements: the status bar
// text and the crosshair.
#include "day_figures.h"
#include "graph/chart_plot.h"
#include "graph/load_chart_view.h"

#include <QGraphicsLineItem>
#include <QTest>

using namespace voltwise;
using namespace voltwise::testing;

class TestLoadChartView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readoutFollowsThePointer()
    {
        LoadChartView chart(QLocale(QLocale::English, QLocale::UnitedStates));
        chart.resize(302, 301);
        QString statusBar = u"Updating..."_qs;
        connect(&chart, &LoadChartView::readoutChanged, this,
                [&statusBar](const QString &text) { statusBar = text; });
        chart.setData(MakeSequence(1, 1, OutlookHourCount), DayFigures());
        chart.setSeriesShown({true, true, true, false});
        chart.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chart));
        QWidget *surface = chart.viewport();
        const PlotFrame frame = chart.plotFrame();
        const auto at = [&](double hour, double megawatts) {
            return chart.mapFromScene(chart.chart()->mapToScene(frame.position(hour, megawatts)));
        };
        QGraphicsLineItem *vertical = chart.crosshairX();
        QGraphicsLineItem *horizontal = chart.crosshairY();
        QVERIFY(!vertical->isVisible() && !horizontal->isVisible());

        // Near the actual demand at 3 PM: its point, not the hidden resources'.
        QTest::mouseMove(surface, at(15, 31700));
        QCOMPARE(statusBar, u"Actual Demand: 31,500MW at 3:00:00 PM"_qs);
        QVERIFY(vertical->isVisible() && horizontal->isVisible());
        QCOMPARE(vertical->line().x1(), frame.position(15, 0).x());
        QCOMPARE(horizontal->line().y1(), frame.position(0, 31500).y());

        // Past the end of the actual demand: the hour-ahead forecast below.
        QTest::mouseMove(surface, at(20, 23000));
        QCOMPARE(statusBar, u"Hour-Ahead Demand Forecast: 22,000MW at 8:00:00 PM"_qs);
        QTest::mouseMove(surface, at(23.8, 11000));
        QCOMPARE(statusBar, u"Day-Ahead Demand Forecast: 12,400MW at 12:00:00 AM"_qs);

        // A pressed button freezes the read-out.
        QTest::mousePress(surface, Qt::LeftButton, {}, at(23.8, 11000));
        QTest::mouseMove(surface, at(2, 20000));
        QCOMPARE(statusBar, u"Day-Ahead Demand Forecast: 12,400MW at 12:00:00 AM"_qs);
        QTest::mouseRelease(surface, Qt::LeftButton, {}, at(2, 20000));

        // Off the plot, onto the header: both lines go, the bar empties.
        QTest::mouseMove(surface, QPoint(surface->width() / 2, 3));
        QCOMPARE(statusBar, QString());
        QVERIFY(!vertical->isVisible() && !horizontal->isVisible());
    }
};

QTEST_MAIN(TestLoadChartView)
#include "test_load_chart_view.moc"
