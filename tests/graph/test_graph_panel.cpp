// The Graph panel without its chart module: the operator's picture in its
// place (the chart itself is tested through the main window).
#include "graph/gui/graph_panel.h"

#include <QLabel>
#include <QMessageBox>
#include <QTest>

using namespace voltwise;

class TestGraphPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Without its module the chart cannot be set up: one message, and the
    // picture in its place.
    void setupFailureTold()
    {
        QWidget window;
        auto *panel = new GraphPanel(
            QLocale::c(), [] { return NewLoadChart(); }, &window);
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
