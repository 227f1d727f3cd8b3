#include "pages/gui/notice_window.h"
#include "platform/recording_browser_opener.h"
#include "support/manual_timers.h"
#include "support/rendered_ink.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

using namespace voltwise;
using namespace std::chrono_literals;
using Phase = voltwise::NoticeWindow::Phase;

namespace {

const QString kOneLine = u"Conserve."_qs;
const QString kLink = u"Click here for details..."_qs;
const QString kUrl = u"content.caiso.example/awe/SP/systemstatus.html"_qs;
const QString kLongText = u"A line of the operator's status table\r\n"_qs.repeated(12);

QRect raisedRect(const NoticeWindow &n)
{
    return NoticeRect(QGuiApplication::primaryScreen()->availableGeometry(), n.width(),
                      n.TargetHeight());
}

QLabel *child(NoticeWindow *n, const char *name)
{
    return n->findChild<QLabel *>(QLatin1String(name));
}

// As the window system delivers it: labels without tracking pass moves to the window.
void moveOnto(QWidget *part, QPoint local = {})
{
    local = local.isNull() ? part->rect().center() : local;
    QMouseEvent move(QEvent::MouseMove, local, part->mapToGlobal(local), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(part, &move);
}

QColor linkColour(NoticeWindow *n)
{
    return child(n, "lblClickText")->palette().color(QPalette::WindowText);
}

} // namespace

// The notice's layout rules, and the window that rises, holds and falls by them.
class TestNoticeWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup()
    {
        for (const QPointer<NoticeWindow> &notice : std::as_const(opened_))
            delete notice.data();
        opened_.clear();
        opener_.opened.clear();
    }

    // Placed on the available area's corner; a late frame ends the slide; a cut keeps pairs.
    void rules()
    {
        QCOMPARE(NoticeRect(QRect(0, 40, 1920, 1040), 218, 177), QRect(1702, 903, 218, 177));
        QCOMPARE(NoticeRect(QRect(-1280, -200, 1280, 984), 218, 50), QRect(-218, 734, 218, 50));
        QCOMPARE(SlideHeight(125ms, 250ms, 177, SlideDirection::Up), 88);
        QCOMPARE(SlideHeight(125ms, 250ms, 177, SlideDirection::Down), 89);
        QCOMPARE(SlideHeight(900ms, 250ms, 177, SlideDirection::Down), 0);
        const QString full(kNoticeTextMaxLength, u'a');
        const QString cut = full.first(kNoticeTextMaxLength - 1), ellipsis(QChar(0x2026));
        QCOMPARE(CapNoticeText(full), full);
        QCOMPARE(CapNoticeText(full + u'b'), full + ellipsis);
        QCOMPARE(CapNoticeText(cut + u"\U0001F600 tail"_qs), cut + ellipsis);
    }

    void layoutAndLife_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("pushesLink");
        QTest::newRow("one line") << kOneLine << false;
        QTest::newRow("long text") << kLongText << true;
    }

    // Rises, holds for its Delay, falls (the pointer on the link changes that no more) and goes.
    void layoutAndLife()
    {
        QFETCH(QString, text);
        QPointer<NoticeWindow> notice = open(text, kLink, 100);
        QPointer<NoticeWindow> noLink = open(text, QString(), 0);
        QSignalSpy raised(notice.data(), &NoticeWindow::raised);
        QCOMPARE(notice->phase(), Phase::Rising);
        QVERIFY(notice->testAttribute(Qt::WA_ShowWithoutActivating));
        QLabel *body = child(notice, "lblNoticeText");
        QLabel *link = child(notice, "lblClickText");
        QVERIFY(body->height() >= body->heightForWidth(body->width()));
        QTEST(link->y() > 148, "pushesLink");
        QVERIFY(link->y() > body->geometry().bottom());
        QCOMPARE(notice->TargetHeight(), link->geometry().bottom() + 1 + 16);
        QVERIFY(!child(noLink, "lblClickText")->isVisibleTo(noLink));
        QCOMPARE(noLink->TargetHeight(), notice->TargetHeight());

        const auto rise = advanceUntil([&] { return raised.size() == 1; });
        QVERIFY2(rise >= kNoticeSlideDuration && rise < kNoticeSlideDuration + 50ms,
                 qPrintable(QString::number(rise.count())));
        QVERIFY(notice->isVisible());
        QCOMPARE(notice->geometry(), raisedRect(*notice));
        holdsThenFalls(notice, 100ms);

        int lowest = notice->height();
        const auto fall = advanceUntil([&] {
            if (!notice || notice->isHidden())
                return true;
            notice->PointerOver(lowest % 2 ? NoticeArea::Link : NoticeArea::Text);
            if (notice->height() > lowest || notice->phase() != Phase::Falling)
                return true;
            lowest = notice->height();
            return false;
        });
        QVERIFY(!notice || notice->isHidden());
        QVERIFY(fall < kNoticeSlideDuration + 50ms);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(notice.isNull());
        QCOMPARE(raised.size(), 1);
    }

    void linkReadsOnEveryScheme_data()
    {
        QTest::addColumn<QColor>("background");
        QTest::addColumn<QColor>("text");
        QTest::addColumn<QColor>("link");
        const QColor dark(40, 40, 40), light(230, 230, 230);
        QTest::newRow("light") << QColor(255, 255, 220) << QColor(Qt::black) << QColor(Qt::blue);
        QTest::newRow("dark") << dark << light << QColor(120, 170, 255);
        // A scheme whose link colour is lost on its own background.
        QTest::newRow("dark, blue links") << dark << light << QColor(Qt::blue);
    }

    // Measured on the painted link, including the pointer over it.
    void linkReadsOnEveryScheme()
    {
        QFETCH(QColor, background);
        QFETCH(QColor, text);
        QFETCH(QColor, link);
        const QPalette before = QApplication::palette();
        QPalette scheme = before;
        scheme.setColor(QPalette::ToolTipBase, background);
        scheme.setColor(QPalette::ToolTipText, text);
        scheme.setColor(QPalette::Link, link);
        QApplication::setPalette(scheme);
        QPointer<NoticeWindow> notice = open(kOneLine, kLink, 100);
        for (const NoticeArea pointer : {NoticeArea::Text, NoticeArea::Link}) {
            notice->PointerOver(pointer);
            const QImage picture = Rendered(child(notice, "lblClickText"));
            const double ink = StrongestInk(
                picture, picture.rect(), {background.red(), background.green(), background.blue()});
            QVERIFY2(ink >= 3.0, qPrintable(QString::number(ink)));
        }
        QApplication::setPalette(before);
    }

    // The link pauses the hold, even during the rise; text and background resume a full Delay.
    void pointerOnLinkPausesHold()
    {
        QPointer<NoticeWindow> notice = open(kOneLine, kLink, 100);
        QSignalSpy raised(notice.data(), &NoticeWindow::raised);
        notice->PointerOver(NoticeArea::Link);
        advanceUntil([&] { return raised.size() == 1; });
        QCOMPARE(notice->phase(), Phase::Paused);
        QCOMPARE(linkColour(notice), QColor(Qt::red));

        moveOnto(child(notice, "lblNoticeHeader"));
        timers_.advance(1h);
        QCOMPARE(notice->phase(), Phase::Paused);
        moveOnto(child(notice, "lblNoticeText"));
        QCOMPARE(notice->phase(), Phase::Holding);
        QCOMPARE(linkColour(notice), QApplication::palette().color(QPalette::Link));
        timers_.advance(60ms);
        moveOnto(child(notice, "lblClickText"));
        QCOMPARE(notice->phase(), Phase::Paused);
        moveOnto(notice, QPoint(2, 2));
        holdsThenFalls(notice, 100ms);
    }

    // A Delay of 0 holds it up for good; the link opens the address on each left click.
    void zeroDelayStaysUpAndLinkOpens()
    {
        QPointer<NoticeWindow> notice = open(kLongText, kLink, 0);
        QPointer<NoticeWindow> quick = open(kOneLine, kLink, 50);
        notice->PointerOver(NoticeArea::Link);
        notice->PointerOver(NoticeArea::Background);
        timers_.advance(24h);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(quick.isNull());
        QCOMPARE(notice->phase(), Phase::Holding);
        QCOMPARE(notice->geometry(), raisedRect(*notice));

        QLabel *link = child(notice, "lblClickText");
        QTest::mouseClick(link, Qt::RightButton);
        QVERIFY(opener_.opened.isEmpty());
        QTest::mouseClick(link, Qt::LeftButton);
        QTest::mouseClick(link, Qt::LeftButton);
        QCOMPARE(opener_.opened, QStringList(2, u"http://"_qs + kUrl));
        QVERIFY(notice && notice->isVisible());
    }

    // Without an address the link brings the parent back; a parent gone away is left alone.
    void linkWithoutUrlRestoresParent()
    {
        QWidget parent;
        parent.showMinimized();
        QTest::mouseClick(child(open(kOneLine, kLink, 0, QString(), &parent), "lblClickText"),
                          Qt::LeftButton);
        QVERIFY(parent.isVisible() && !parent.isMinimized());
        QVERIFY(opener_.opened.isEmpty());

        auto *gone = new QWidget;
        QPointer<NoticeWindow> orphaned = open(kOneLine, kLink, 0, QString(), gone);
        delete gone;
        QTest::mouseClick(child(orphaned, "lblClickText"), Qt::LeftButton);
        QVERIFY(orphaned);
    }

private:
    QPointer<NoticeWindow> open(const QString &text, const QString &clickText, int delay,
                                const QString &url = kUrl, QWidget *parent = nullptr)
    {
        opened_ << new NoticeWindow(opener_, timers_);
        opened_.last()->ScrollNotice(u"Stage 1 Emergency: 45,000 MW"_qs, text, clickText, url,
                                     QColor(Qt::yellow), delay, parent);
        return opened_.last();
    }

    // Holding until the full delay has passed, falling right then.
    void holdsThenFalls(NoticeWindow *notice, std::chrono::milliseconds delay)
    {
        timers_.advance(delay - 1ms);
        QCOMPARE(notice->phase(), Phase::Holding);
        timers_.advance(1ms);
        QCOMPARE(notice->phase(), Phase::Falling);
    }

    // Moves time on a millisecond at a time until done() holds; how long that took.
    template <typename Done>
    std::chrono::milliseconds advanceUntil(Done done)
    {
        std::chrono::milliseconds taken{0};
        for (; !done() && taken < 1min; ++taken)
            timers_.advance(1ms);
        return taken;
    }

    RecordingBrowserOpener opener_;
    testing::ManualTimers timers_;
    QList<QPointer<NoticeWindow>> opened_;
};

QTEST_MAIN(TestNoticeWindow)
#include "test_notice_window.moc"
