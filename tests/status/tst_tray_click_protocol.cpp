#include "status/tray_activation.h"
#include "status/tray_click_protocol.h"

#include <QSignalSpy>
#include <QtTest>

using namespace voltwise;
using namespace std::chrono_literals;

class TestTrayClickProtocol : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Events: L left down, l left up, D double click, R right down, r right
    // up, m move, T the single-click pause runs out; as Qt reports them
    // (through TrayMouseEventFor): t Trigger, d DoubleClick, c Context, x middle click, u unknown.
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
        QTest::newRow("moves and left up") << u"mlm"_qs << QString() << false;
        QTest::newRow("right cancels pending click") << u"LlRrT"_qs << u"M"_qs << false;
        QTest::newRow("triple click") << u"LlDlLlT"_qs << u"WM"_qs << false;
        QTest::newRow("two single clicks") << u"LlTLlT"_qs << u"MM"_qs << false;
        QTest::newRow("qt click") << u"tT"_qs << u"M"_qs << false;
        QTest::newRow("qt double click") << u"tdT"_qs << u"W"_qs << false;
        QTest::newRow("qt context") << u"cT"_qs << u"M"_qs << false;
        QTest::newRow("qt middle, unknown") << u"xuT"_qs << QString() << false;
    }

    void sequences()
    {
        QFETCH(QString, events);
        QFETCH(QString, actions);
        QFETCH(bool, pendingAfter);
        using R = QSystemTrayIcon;
        const QHash<QChar, TrayMouseEvent> byLetter{
            {u'L', TrayMouseEvent::LeftButtonDown},  {u'D', TrayMouseEvent::LeftButtonDoubleClick},
            {u'R', TrayMouseEvent::RightButtonDown}, {u'r', TrayMouseEvent::RightButtonUp},
            {u't', TrayMouseEventFor(R::Trigger)},   {u'd', TrayMouseEventFor(R::DoubleClick)},
            {u'c', TrayMouseEventFor(R::Context)},   {u'x', TrayMouseEventFor(R::MiddleClick)},
            {u'u', TrayMouseEventFor(R::Unknown)}};
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
        QCOMPARE(log, actions);
        QCOMPARE(protocol.isSingleClickPending(), pendingAfter);
    }

    void pauseRunsOutByItself()
    {
        TrayClickProtocol protocol(nullptr, 10ms);
        QSignalSpy menu(&protocol, &TrayClickProtocol::showMenu);
        protocol.handle(TrayMouseEvent::LeftButtonDown);
        QVERIFY(menu.wait(5000));
        QVERIFY(!protocol.isSingleClickPending());
        QTest::qWait(30); // no second menu from the same click
        QCOMPARE(menu.count(), 1);
    }
};

QTEST_GUILESS_MAIN(TestTrayClickProtocol)
#include "tst_tray_click_protocol.moc"
