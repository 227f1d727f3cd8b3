// The Graph panel with its chart built on demand, the operator's picture,
// and the read-out driven by real pointer movements.
#include "graph/chart_readout.h"
#include "graph/graph_panel.h"
#include "graph/load_chart_view.h"

#include <QBuffer>
#include <QGraphicsLineItem>
#include <QLabel>
#include <QLineSeries>
#include <QTest>
#include <QValueAxis>

using namespace voltwise;

namespace {

const QLocale kUs(QLocale::English, QLocale::UnitedStates);

QByteArray Png(QColor colour, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// Series s at hour h: s * 10000 + h * 100 MW, with the actual demand known
// up to hour 15.
OutlookValues DayFigures()
{
    OutlookValues values;
    for (int h = 1; h <= OutlookHourCount; ++h)
        for (int s = 1; s <= OutlookSeriesCount; ++s)
            values.setValue(h, s, s == 3 && h > 15 ? HoleValue : s * 10000 + h * 100);
    return values;
}

GridStatus Demand(double megawatts)
{
    GridStatus status;
    status.ActualDemand = megawatts;
    status.ActualDemandTime = OleDate::fromDateTime(QDateTime(QDate(2024, 7, 15), QTime(15, 0)));
    return status;
}

} // namespace

class TestGraphPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pictureKeptWhenTheNewOneDoesNotDecode_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("a picture") << Png(Qt::blue, {8, 5}) << true;
        QTest::newRow("two bytes") << QByteArray("GI") << false;
        QTest::newRow("one byte") << QByteArray("G") << false;
        QTest::newRow("nothing") << QByteArray() << false;
        QTest::newRow("a cut-off picture") << Png(Qt::blue, {8, 5}).left(40) << false;
    }

    void pictureKeptWhenTheNewOneDoesNotDecode()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, replaced);
        GraphPanel panel(kUs);
        QVERIFY(panel.showPicture(Png(Qt::red, {4, 4})));
        QCOMPARE(panel.showPicture(bytes), replaced);
        const QImage shown = panel.picture()->pixmap().toImage();
        QCOMPARE(shown.size(), replaced ? QSize(8, 5) : QSize(4, 4));
        QCOMPARE(shown.pixelColor(0, 0), replaced ? QColor(Qt::blue) : QColor(Qt::red));
    }

    // Until it is seen with the chart in use, the panel holds what the chart
    // is to show and builds nothing.
    void chartBuiltWhenFirstSeen()
    {
        GraphPanel panel(kUs);
        panel.resize(320, 320);
        panel.chartStep(DayFigures(), Demand(31456));
        panel.showSeries({true, false, true, true});
        panel.setChartShown(false);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QVERIFY(!panel.chart());
        QVERIFY(panel.picture()->isVisible());

        panel.setChartShown(true);
        LoadChartView *chart = panel.chart();
        QVERIFY(chart);
        QCOMPARE(chart->objectName(), u"chtMain"_qs);
        QVERIFY(chart->isVisible());
        QVERIFY(!panel.picture()->isVisible());
        QCOMPARE(chart->chart()->title(),
                 u"Current Load: 31,456 MW<br>Updated: 7/15/2024 3:00:00 PM"_qs);
        // The actual demand ends at hour 15; nothing stands for the holes.
        QCOMPARE(chart->drawnSegments(3).size(), 1);
        QCOMPARE(chart->drawnSegments(3).first()->count(), 15);
        QVERIFY(!chart->drawnSegments(2).first()->isVisible());
        QCOMPARE(chart->valueAxis()->max(), 45000.0);

        // A hole in the middle splits the curve; the axis stays.
        OutlookValues holed = DayFigures();
        holed.setValue(8, 1, HoleValue);
        panel.chartStep(holed, Demand(0));
        QCOMPARE(chart->drawnSegments(1).size(), 2);
        QCOMPARE(chart->drawnSegments(1)[1]->at(0), QPointF(9, 10900));
        QCOMPARE(chart->valueAxis()->max(), 45000.0);
        QVERIFY(chart->chart()->title().startsWith(u"Current Load: 31,456 MW"_qs));

        panel.setChartShown(false);
        QVERIFY(!chart->isVisible());
        QVERIFY(panel.picture()->isVisible());
    }

    void readoutFollowsThePointer()
    {
        GraphPanel panel(kUs);
        panel.resize(320, 320);
        QString statusBar = u"Updating..."_qs;
        connect(&panel, &GraphPanel::readoutChanged, &panel,
                [&statusBar](const QString &text) { statusBar = text; });
        panel.chartStep(DayFigures(), Demand(31456));
        panel.showSeries({true, true, true, false});
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        LoadChartView *chart = panel.chart();
        QVERIFY(chart);
        QWidget *surface = chart->viewport();
        const PlotFrame frame = chart->plotFrame();
        const auto at = [&](double hour, double megawatts) {
            return chart->mapFromScene(chart->chart()->mapToScene(frame.position(hour, megawatts)));
        };
        QGraphicsLineItem *vertical = chart->crosshairX();
        QGraphicsLineItem *horizontal = chart->crosshairY();

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

QTEST_MAIN(TestGraphPanel)
#include "test_graph_panel.moc"
