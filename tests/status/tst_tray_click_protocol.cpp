#include "status/tray_activation.h"
#include "status/tray_click_protocol.h"

#include <QSignalSpy>
#include <QtTest>

using namespace voltwise;
using namespace std::chrono_literals;

namespace {
// Records the protocol's actions as letters: M menu, W main window.
struct ActionLog
{
    explicit ActionLog(TrayClickProtocol &protocol)
    {
        QObject::connect(&protocol, &TrayClickProtocol::showMenu, [this] { actions += u'M'; });
        QObject::connect(&protocol, &TrayClickProtocol::showDetails, [this] { actions += u'W'; });
    }
    QString actions;
};
} // namespace

class TestTrayClickProtocol : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Events: L left down, l left up, D double click, R right down, r right
    // up, m move, T the single-click pause runs out.
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
    }

    void sequences()
    {
        QFETCH(QString, events);
        QFETCH(QString, actions);
        QFETCH(bool, pendingAfter);
        const QHash<QChar, TrayMouseEvent> byLetter{{u'L', TrayMouseEvent::LeftButtonDown},
                                                    {u'D', TrayMouseEvent::LeftButtonDoubleClick},
                                                    {u'R', TrayMouseEvent::RightButtonDown},
                                                    {u'r', TrayMouseEvent::RightButtonUp}};
        TrayClickProtocol protocol(nullptr, 1h); // the pause only ends on T
        ActionLog log(protocol);
        for (const QChar letter : events) {
            if (letter == u'T')
                protocol.timerFired();
            else
                protocol.handle(byLetter.value(letter, TrayMouseEvent::Other));
        }
        QCOMPARE(log.actions, actions);
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

    // Qt reports a double click as Trigger then DoubleClick, and the menu
    // request as Context.
    void qtActivations_data()
    {
        using R = QSystemTrayIcon;
        QTest::addColumn<QList<R::ActivationReason>>("reasons");
        QTest::addColumn<QString>("actions");
        QTest::newRow("click") << QList{R::Trigger} << u"M"_qs;
        QTest::newRow("double click") << QList{R::Trigger, R::DoubleClick} << u"W"_qs;
        QTest::newRow("context") << QList{R::Context} << u"M"_qs;
        QTest::newRow("middle") << QList{R::MiddleClick, R::Unknown} << QString();
    }

    void qtActivations()
    {
        QFETCH(QList<QSystemTrayIcon::ActivationReason>, reasons);
        QFETCH(QString, actions);
        TrayClickProtocol protocol(nullptr, 1h);
        ActionLog log(protocol);
        for (const auto reason : reasons)
            protocol.handle(TrayMouseEventFor(reason));
        protocol.timerFired();
        QCOMPARE(log.actions, actions);
    }
};

QTEST_GUILESS_MAIN(TestTrayClickProtocol)
#include "tst_tray_click_protocol.moc"
