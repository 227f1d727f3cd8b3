// The Graph panel: the chart module loaded and built the first time the chart
// is to be seen, and the operator's picture in its place without the module.
#include "core/grid_status.h"
#include "graph/graph_panel.h"
#include "pages/outlook_values.h"

#include <QChartView>
#include <QLabel>
#include <QLineSeries>
#include <QMessageBox>
#include <QTest>

using namespace voltwise;

namespace {

const QLocale kUs(QLocale::English, QLocale::UnitedStates);

// The curve pieces of one series that hold points, visible or not.
QList<QLineSeries *> Drawn(QChartView *view, int series)
{
    QList<QLineSeries *> drawn;
    for (QAbstractSeries *s : view->chart()->series()) {
        auto *line = qobject_cast<QLineSeries *>(s);
        if (line && line->name() == OutlookSeriesNames[std::size_t(series - 1)] && line->count())
            drawn << line;
    }
    return drawn;
}

// Series s at hour h: s * 10000 + h * 100 MW, the actual demand known up to hour 15.
OutlookValues DayFigures()
{
    OutlookValues values;
    for (int h = 1; h <= OutlookHourCount; ++h)
        for (int s = 1; s <= OutlookSeriesCount; ++s)
            values.setValue(h, s, s == 3 && h > 15 ? HoleValue : s * 10000 + h * 100);
    return values;
}

NewLoadChart NoModule()
{
    return nullptr;
}

} // namespace

class TestGraphPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Until it is seen with the chart in use, the panel holds what the chart
    // is to show and builds nothing.
    void chartBuiltWhenFirstSeen()
    {
        GraphPanel panel(kUs);
        panel.resize(320, 320);
        GridStatus status;
        status.ActualDemand = 31456;
        status.ActualDemandTime =
            OleDate::fromDateTime(QDateTime(QDate(2024, 7, 15), QTime(15, 0)));
        panel.chartStep(DayFigures(), status);
        panel.showSeries({true, false, true, true});
        panel.setChartShown(false);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QVERIFY(!panel.chart());
        QVERIFY(panel.picture()->isVisible());

        panel.setChartShown(true);
        QVERIFY(panel.chart());
        auto *view = panel.findChild<QChartView *>(u"chtMain"_qs);
        QVERIFY(view && view == panel.chart()->widget());
        QVERIFY(view->isVisible());
        QVERIFY(!panel.picture()->isVisible());
        QCOMPARE(view->chart()->title(),
                 u"Current Load: 31,456 MW<br>Updated: 7/15/2024 3:00:00 PM"_qs);
        // The actual demand ends at hour 15; nothing stands for the holes.
        QCOMPARE(Drawn(view, 3).size(), 1);
        QCOMPARE(Drawn(view, 3).first()->count(), 15);
        QVERIFY(!Drawn(view, 2).first()->isVisible());

        panel.setChartShown(false);
        QVERIFY(!view->isVisible());
        QVERIFY(panel.picture()->isVisible());
    }

    // Without its module the chart cannot be set up: one message, and the
    // picture in its place.
    void setupFailureTold()
    {
        QWidget window;
        auto *panel = new GraphPanel(kUs, NoModule, &window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(!panel->chart());
        QVERIFY(panel->picture()->isVisible());
        auto *box = window.findChild<QMessageBox *>(u"msgSetupOutlookInfo"_qs);
        QVERIFY(box && box->isVisible());
        QCOMPARE(box->text(), u"Error in 'SetupOutlookInfo' Subroutine"_qs);
        box->accept();
        panel->setChartShown(false);
        panel->setChartShown(true);
        QVERIFY(panel->picture()->isVisible());
        QTRY_COMPARE(window.findChildren<QMessageBox *>().size(), 0);
    }
};

QTEST_MAIN(TestGraphPanel)
#include "test_graph_panel.moc"
