// What a widget hands the placement rules and how it takes their result, then
// the rules on twips and screens (offscreen: 1 pixel is 15 twips).
#include "settings/registry_operations.h"
#include "settings/settings_test_support.h"
#include "ui/gui/window_placement.h"
#include "ui/window_placement_rules.h"

#include <QTest>
#include <QWidget>

using namespace voltwise;

Q_DECLARE_METATYPE(voltwise::WindowShowState)
Q_DECLARE_METATYPE(voltwise::PlacementWindow)
Q_DECLARE_METATYPE(QList<voltwise::PlacementScreen>)

namespace {

// 1280 x 960 pixels with a panel of 40 along the bottom; a second screen of
// 1920 x 1080 to its right or to its left.
const PlacementScreen kPrimary{{0, 0, 19200, 14400}, {0, 0, 19200, 13800}};
const QList<PlacementScreen> kOneScreen{kPrimary};
const QList<PlacementScreen> kRightScreen{kPrimary,
                                          {{19200, 0, 28800, 16200}, {19200, 0, 28800, 16200}}};
const QList<PlacementScreen> kLeftScreen{kPrimary,
                                         {{-28800, 0, 28800, 16200}, {-28800, 0, 28800, 16200}}};

} // namespace

class TestWindowPlacement : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void widgetSavesAndRestores()
    {
        TempRegistry reg;
        const auto stored = [&reg] {
            return GetSetting(reg.store, {}, u"WindowSettings"_qs, u"frmTest"_qs, {});
        };
        QWidget window;
        window.move(100, 50);
        window.resize(300, 200);
        QVERIFY(!SaveWindowPlacement(&window, reg.store, QLocale::c())); // no name, no place
        window.setObjectName(u"frmTest"_qs);
        QVERIFY(SaveWindowPlacement(&window, reg.store, QLocale::c()));
        QCOMPARE(stored(), u"1500,750,4500,3000,0"_qs);
        window.move(7, 9);
        window.setWindowState(Qt::WindowMaximized); // keeps the normal bounds stored before
        QVERIFY(SaveWindowPlacement(&window, reg.store, QLocale::c()));
        QCOMPARE(stored(), u"1500,750,4500,3000,2"_qs);

        QWidget next;
        next.setObjectName(u"frmTest"_qs);
        RestoreWindowPlacement(&next, 0, reg.store, QLocale::c());
        QCOMPARE(QRect(next.pos(), next.size()), QRect(100, 50, 300, 200));
        QCOMPARE(next.windowState(), Qt::WindowMaximized);
    }

    // A state beyond 16 bits does not convert (whatever it is read as, it is normal).
    void stateBeyond16Bits()
    {
        QVERIFY(!ParseStoredPlacement(u"1,2,3,4,70000", QLocale::c())->stateCode);
        QCOMPARE(ParseStoredPlacement(u"1,2,3,4,-32768", QLocale::c())->stateCode, -32768);
    }

    void save_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<WindowShowState>("state");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<bool>("positionKnown");
        QTest::addColumn<QString>("expected");
        const QLocale c = QLocale::c();
        const auto normal = WindowShowState::Normal;
        const auto maximized = WindowShowState::Maximized;
        QTest::newRow("normal takes the window")
            << u"15,30,45,60,2"_qs << normal << c << true << u"1500,3000,1234568,7200,0"_qs;
        QTest::newRow("minimised keeps stored bounds")
            << u"15,30,4500,3000,0"_qs << WindowShowState::Minimized << c << true
            << u"15,30,4500,3000,1"_qs;
        QTest::newRow("maximised, four fields")
            << u"1,2,3,4"_qs << maximized << c << true << u"0,0,0,0,2"_qs;
        QTest::newRow("maximised, a field that does not convert")
            << u"x,30,4500.5,3000,0"_qs << maximized << c << true << u"0,30,4500.5,3000,2"_qs;
        QTest::newRow("no grouping")
            << u"1440,1080,7500,5400,0"_qs << maximized << QLocale(QLocale::German) << true
            << u"1440,1080,7500,5400,2"_qs;
        QTest::newRow("decimal comma, stored whole")
            << u"500050000,30,4500,3000,0"_qs << maximized << QLocale(QLocale::German) << true
            << u"500050000,30,4500,3000,2"_qs;
        // Wayland: the size is the window's, the position stays the user's.
        QTest::newRow("whole numbers stay whole") << u"0,0,2147483647,2147483647,2"_qs << maximized
                                                  << c << true << u"0,0,2147483647,2147483647,2"_qs;
        QTest::newRow("unknown position keeps the stored one")
            << u"15,30,45,60,2"_qs << normal << c << false << u"15,30,1234568,7200,0"_qs;
        QTest::newRow("unknown position, nothing stored")
            << QString() << normal << c << false << u"-1,-1,1234568,7200,0"_qs;
        QTest::newRow("unknown position, a field that does not convert")
            << u"15,x,45,60,0"_qs << normal << c << false << u"15,-1,1234568,7200,0"_qs;
        // How stored fields are read, shown by the bounds a maximised window keeps.
        QTest::newRow("blanks") << u" 15 , -30 ,45.5, 60 , 2 "_qs << maximized << c << true
                                << u"15,-30,45.5,60,2"_qs;
        QTest::newRow("locale grouping") << u"1.440,2,3,4,0"_qs << maximized
                                         << QLocale(QLocale::German) << true << u"1440,2,3,4,2"_qs;
        QTest::newRow("empty field") << u"1,,3,4,1"_qs << maximized << c << true << u"1,0,3,4,2"_qs;
        QTest::newRow("beyond single precision")
            << u"1e39,2,3,4,1"_qs << maximized << c << true << u"0,2,3,4,2"_qs;
    }

    void save()
    {
        QFETCH(QString, stored);
        QFETCH(WindowShowState, state);
        QFETCH(QLocale, locale);
        PlacementWindow window{{1500, 3000, 1234567.8, 7200}, state};
        QFETCH(bool, positionKnown);
        window.positionKnown = positionKnown;
        QTEST(PlacementTextToSave(stored, window, locale), "expected");
    }

    void restore_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<PlacementWindow>("window");
        QTest::addColumn<QList<PlacementScreen>>("screens");
        QTest::addColumn<int>("defaultState");
        QTest::addColumn<QString>("expected"); // moved to, sized to, state

        const PlacementWindow sizable{{0, 0, 6000, 3000}};
        PlacementWindow fixedBorder = sizable;
        fixedBorder.sizableBorder = false;
        PlacementWindow placedByPlatform = fixedBorder;
        placedByPlatform.manualStartUpPosition = false;

        const PlacementWindow tall{{0, 0, 6000, 20000}};

        const auto row = [](const char *title, const char *stored, const PlacementWindow &window,
                            int defaultState, const char *expected,
                            const QList<PlacementScreen> &screens = kOneScreen) {
            QTest::newRow(title) << QString::fromUtf8(stored) << window << screens << defaultState
                                 << QString::fromUtf8(expected);
        };
        row("nothing stored: centred, own size", "", sizable, 2, "6600,5700 6000x3000 2");
        row("saved maximised with nothing before", "0,0,0,0,2", sizable, 0, "0,0 6000x3000 2");
        row("stored left -1 is centred on own width", "-1,300,9000,4500,0", sizable, 0,
            "6600,300 9000x4500 0");
        row("left beyond the right edge", "25000,300,9000,4500,0", sizable, 0,
            "10200,300 9000x4500 0");
        // Above the bottom panel, shown normal.
        row("left at the right edge, own width", "19200,14400,0,0,1", sizable, 0,
            "13200,10800 6000x3000 0");
        PlacementWindow framed = sizable;
        framed.frameWidth = 150;
        framed.frameHeight = 450;
        row("far below, with its frame", "100,99999,9000,4500,0", framed, 0,
            "100,8850 9000x4500 0");
        row("partly off the right edge", "15000,300,9000,4500,2", sizable, 0,
            "10200,300 9000x4500 2");
        row("nothing stored, default minimised", "", sizable, 1, "6600,5700 6000x3000 0");
        row("fixed border keeps its size", "100,200,9000,4500,2", fixedBorder, 0, "100,200 - 2");
        row("huge numbers: 16-bit size, centred", "1e30,-1e30,1e30,0,0", sizable, 0,
            "0,5700 491505x3000 0");
        row("far off: centred", "-100000,-100000,4800,7500,0", sizable, 0, "7200,3450 4800x7500 0");
        row("title on the bottom panel: centred", "100,13700,9000,4500,0", sizable, 0,
            "5100,4950 9000x4500 0");
        row("taller than the screen: title at its top", "", tall, 0, "6600,0 6000x20000 0");
        row("on a screen to the right", "25000,300,9000,4500,0", sizable, 0,
            "25000,300 9000x4500 0", kRightScreen);
        row("on a screen to the left", "-20000,300,9000,4500,0", sizable, 0,
            "-20000,300 9000x4500 0", kLeftScreen);
        row("screen to the left removed", "-20000,300,9000,4500,0", sizable, 0,
            "5100,4950 9000x4500 0");
        row("platform places it", "100,200,9000,4500,0", placedByPlatform, 0, "- 9000x4500 0");
        row("state rounds", "100,200,9000,4500,1.6", sizable, 0, "100,200 9000x4500 2");
    }

    void restore()
    {
        QFETCH(QString, stored);
        QFETCH(PlacementWindow, window);
        QFETCH(QList<PlacementScreen>, screens);
        QFETCH(int, defaultState);
        const PlacementToApply p =
            PlacementToRestore(stored, window, screens, defaultState, QLocale::c());
        const QString moved =
            p.move ? u"%1,%2"_qs.arg(p.left, 0, 'f', 0).arg(p.top, 0, 'f', 0) : u"-"_qs;
        const QString sized =
            p.resize ? u"%1x%2"_qs.arg(p.width, 0, 'f', 0).arg(p.height, 0, 'f', 0) : u"-"_qs;
        QTEST(u"%1 %2 %3"_qs.arg(moved, sized).arg(int(p.state)), "expected");
    }
};

QTEST_MAIN(TestWindowPlacement)
#include "test_window_placement.moc"
