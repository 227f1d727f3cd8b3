// The notification-area icon: its click sequences and its pictures.
#include "status/gui/condition_images.h"
#include "status/gui/tray_activation.h"
#include "status/tray_click_protocol.h"

#include <QSignalSpy>
#include <QtTest>

using namespace voltwise;
using namespace std::chrono_literals;

class TestTrayIcon : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Events: L left down, l left up, D double click, R right down, r right
    // up, m move, T the single-click pause runs out; as Qt reports them
    // (through TrayMouseEventFor): t Trigger, d DoubleClick, c Context, x middle click, u unknown;
    // as a panel of items reports them: a activate, s secondary activate, p menu.
    // Actions: M menu, W main window.
    void sequences_data()
    {
        QTest::addColumn<QString>("events");
        QTest::addColumn<QString>("actions");
        QTest::addColumn<bool>("pendingAfter");
        QTest::newRow("single click waits") << u"Ll"_qs << QString() << true;
        QTest::newRow("single click, pause over") << u"LlT"_qs << u"M"_qs << false;
        QTest::newRow("double click, stale pause") << u"LlDlT"_qs << u"W"_qs << false;
        QTest::newRow("right press alone") << u"R"_qs << QString() << false;
        QTest::newRow("right release") << u"Rr"_qs << u"M"_qs << false;
        QTest::newRow("right cancels pending click") << u"LlRrT"_qs << u"M"_qs << false;
        QTest::newRow("triple click") << u"LlDlLlT"_qs << u"WM"_qs << false;
        QTest::newRow("qt click") << u"tT"_qs << u"M"_qs << false;
        QTest::newRow("qt double click") << u"tdT"_qs << u"W"_qs << false;
        QTest::newRow("qt context") << u"cT"_qs << u"M"_qs << false;
        QTest::newRow("qt middle, unknown") << u"xuT"_qs << QString() << false;
        QTest::newRow("panel clicks open the window") << u"asT"_qs << u"WW"_qs << false;
        QTest::newRow("panel menu") << u"pT"_qs << u"M"_qs << false;
        QTest::newRow("panel click after a button press") << u"LaT"_qs << u"W"_qs << false;
    }

    void sequences()
    {
        QFETCH(QString, events);
        using R = QSystemTrayIcon;
        const QHash<QChar, TrayMouseEvent> byLetter{{u'L', TrayMouseEvent::LeftButtonDown},
                                                    {u'D', TrayMouseEvent::LeftButtonDoubleClick},
                                                    {u'R', TrayMouseEvent::RightButtonDown},
                                                    {u'r', TrayMouseEvent::RightButtonUp},
                                                    {u't', TrayMouseEventFor(R::Trigger)},
                                                    {u'd', TrayMouseEventFor(R::DoubleClick)},
                                                    {u'c', TrayMouseEventFor(R::Context)},
                                                    {u'x', TrayMouseEventFor(R::MiddleClick)},
                                                    {u'u', TrayMouseEventFor(R::Unknown)},
                                                    {u'a', TrayMouseEvent::PanelActivate},
                                                    {u's', TrayMouseEvent::PanelSecondaryActivate},
                                                    {u'p', TrayMouseEvent::PanelContextMenu}};
        TrayClickProtocol protocol(nullptr, 1h); // the pause only ends on T
        QString log;
        connect(&protocol, &TrayClickProtocol::showMenu, this, [&log] { log += u'M'; });
        connect(&protocol, &TrayClickProtocol::showDetails, this, [&log] { log += u'W'; });
        for (const QChar letter : events) {
            if (letter == u'T')
                protocol.timerFired();
            else
                protocol.handle(byLetter.value(letter, TrayMouseEvent::Other));
        }
        QTEST(log, "actions");
        QTEST(protocol.isSingleClickPending(), "pendingAfter");
    }

    void pauseRunsOutByItself()
    {
        TrayClickProtocol protocol(nullptr, 10ms);
        QSignalSpy menu(&protocol, &TrayClickProtocol::showMenu);
        protocol.handle(TrayMouseEvent::LeftButtonDown);
        QVERIFY(menu.wait(5000));
        QVERIFY(!protocol.isSingleClickPending());
    }

    // Each size of an icon is drawn for itself, not scaled from another; at 32
    // pixels, the lit lamps as "ryg" (R: red covers most of the picture).
    void iconsAreDistinctAndLit()
    {
        const QStringList lit{u""_qs,  u"g"_qs, u"y"_qs, u"ry"_qs,
                              u"r"_qs, u"r"_qs, u"r"_qs, u"R"_qs};
        QList<QImage> images;
        for (int index = 1; index <= kConditionImageCount; ++index) {
            for (int size : {16, 22, 24, 32, 48}) {
                const QImage image = ConditionPixmap(index, size).toImage();
                QCOMPARE(image.size(), QSize(size, size));
                QCOMPARE(ConditionIcon(index).pixmap(QSize(size, size)).toImage(), image);
                QVERIFY2(!images.contains(image), qPrintable(QString::number(index)));
                images.append(image);
            }
            int opaque = 0, red = 0, yellow = 0, green = 0;
            const QImage image = ConditionImage(index, 32);
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x) {
                    const QColor c = QColor::fromRgba(image.pixel(x, y));
                    opaque += c.alpha() > 0;
                    if (c.alpha() < 200 || c.hsvSaturation() < 150 || c.value() < 200)
                        continue;
                    const int hue = c.hsvHue();
                    red += hue <= 10 || hue >= 350;
                    yellow += hue >= 40 && hue <= 60;
                    green += hue >= 100 && hue <= 150;
                }
            const QString lamps = lit[index - 1];
            QVERIFY(opaque > 32 * 32 / 4);
            QCOMPARE(red >= (lamps == u"R" ? 32 * 32 / 3 : 4),
                     lamps.contains(u'r', Qt::CaseInsensitive));
            QCOMPARE(yellow >= 4, lamps.contains(u'y'));
            QCOMPARE(green >= 4, lamps.contains(u'g'));
        }
        for (int index : {0, 9})
            QVERIFY(ConditionIcon(index).isNull() && ConditionPixmap(index, 32).isNull());
    }
};

QTEST_MAIN(TestTrayIcon)
#include "test_tray_icon.moc"
