#include "platform/always_on_top.h"

#include <QTest>
#include <QWidget>

using namespace voltwise;

class TestAlwaysOnTop : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keepsPlaceAndVisibility_data()
    {
        QTest::addColumn<bool>("visible");
        QTest::newRow("shown") << true;
        QTest::newRow("hidden") << false;
    }

    void keepsPlaceAndVisibility()
    {
        QFETCH(bool, visible);
        QWidget window;
        window.setGeometry(120, 90, 320, 240);
        if (visible) {
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
        }
        const QRect before = window.geometry();
        for (bool onTop : {true, true, false, false, true}) {
            SetAlwaysOnTop(&window, onTop);
            QCOMPARE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint), onTop);
            QCOMPARE(window.isVisible(), visible);
            QTRY_COMPARE(window.geometry(), before);
        }
        // Child widgets and no widget are left alone.
        auto *child = new QWidget(&window);
        SetAlwaysOnTop(child, true);
        QVERIFY(!child->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        SetAlwaysOnTop(nullptr, true);
    }
};

QTEST_MAIN(TestAlwaysOnTop)
#include "test_always_on_top.moc"
