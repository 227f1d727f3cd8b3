// The Graph panel: the operator's picture, and the chart module loaded and
// built the first time the chart is to be seen.
#include "day_figures.h"
#include "graph/graph_panel.h"

#include <QBuffer>
#include <QChartView>
#include <QLabel>
#include <QLineSeries>
#include <QMessageBox>
#include <QTest>
#include <QValueAxis>

using namespace voltwise;
using namespace voltwise::testing;

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

NewLoadChart NoModule()
{
    return nullptr;
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
        auto *axis = qobject_cast<QValueAxis *>(view->chart()->axes(Qt::Vertical).value(0));
        QVERIFY(axis);
        QCOMPARE(axis->max(), 45000.0);

        // A hole in the middle splits the curve; the axis stays.
        OutlookValues holed = DayFigures();
        holed.setValue(8, 1, HoleValue);
        panel.chartStep(holed, Demand(0));
        QCOMPARE(Drawn(view, 1).size(), 2);
        QCOMPARE(Drawn(view, 1)[1]->at(0), QPointF(9, 10900));
        QCOMPARE(axis->max(), 45000.0);
        QVERIFY(view->chart()->title().startsWith(u"Current Load: 31,456 MW"_qs));

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
        QCOMPARE(box->windowTitle(), u"Voltwise"_qs);
        QCOMPARE(box->standardButtons(), QMessageBox::Ok);
        box->accept();
        panel->setChartShown(false);
        panel->setChartShown(true);
        QVERIFY(panel->picture()->isVisible());
        QTRY_COMPARE(window.findChildren<QMessageBox *>().size(), 0);
    }
};

QTEST_MAIN(TestGraphPanel)
#include "test_graph_panel.moc"
