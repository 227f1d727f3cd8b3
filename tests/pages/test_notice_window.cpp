#include "pages/notice_window.h"
#include "recording_browser_opener.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace voltwise;

namespace {

const QString kHeader = u"Stage 1 Emergency: 45,000 MW"_qs;
const QString kOneLine = u"Conserve."_qs;
const QString kLink = u"Click here for details..."_qs;
const QString kUrl = u"content.caiso.example/awe/SP/systemstatus.html"_qs;

QString LongText()
{
    QStringList lines;
    for (int i = 1; i <= 12; ++i)
        lines << u"Line %1 of the operator's status table"_qs.arg(i);
    return lines.join(u"\r\n"_qs);
}

QColor TooltipBase()
{
    return QApplication::palette().color(QPalette::ToolTipBase);
}

QRect Raised(const NoticeWindow &notice)
{
    return NoticeRect(QGuiApplication::primaryScreen()->availableGeometry(), notice.width(),
                      notice.TargetHeight());
}

template <typename T>
T *Child(NoticeWindow *notice, const char *name)
{
    return notice->findChild<T *>(QString::fromLatin1(name));
}

// The pointer moving onto the middle of a part of the notice, delivered as
// the window system would: labels without tracking pass moves to the window.
void MoveOnto(QWidget *part)
{
    const QPoint local = part->rect().center();
    QMouseEvent move(QEvent::MouseMove, local, part->mapToGlobal(local), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(part, &move);
}

QColor LinkColour(NoticeWindow *notice)
{
    return Child<QLabel>(notice, "lblClickText")->palette().color(QPalette::WindowText);
}

} // namespace

class TestNoticeWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();
    void layout_data();
    void layout();
    void risesHoldsFallsAndDeletesItself();
    void pointerOnLinkPausesHold();
    void linkHoveredDuringRiseHoldsAtTop();
    void tickWhileFallingIsIgnored();
    void linkOpensPrefixedUrl();
    void linkWithoutUrlRestoresParent_data();
    void linkWithoutUrlRestoresParent();
    void noticesLiveIndependently();
    void zeroDelayStaysUp();

private:
    QPointer<NoticeWindow> open(const QString &text, const QString &clickText, int delay,
                                const QString &url = kUrl, QWidget *parent = nullptr);

    RecordingBrowserOpener opener_;
    QList<QPointer<NoticeWindow>> opened_;
};

QPointer<NoticeWindow> TestNoticeWindow::open(const QString &text, const QString &clickText,
                                              int delay, const QString &url, QWidget *parent)
{
    QPointer<NoticeWindow> notice = new NoticeWindow(opener_);
    opened_ << notice;
    notice->ScrollNotice(kHeader, text, clickText, url, TooltipBase(), delay, parent);
    return notice;
}

void TestNoticeWindow::cleanup()
{
    for (const QPointer<NoticeWindow> &notice : std::as_const(opened_))
        delete notice.data();
    opened_.clear();
    opener_.opened.clear();
}

void TestNoticeWindow::layout_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("pushesLink");
    QTest::newRow("one line") << kOneLine << false;
    QTest::newRow("long text") << LongText() << true;
}

void TestNoticeWindow::layout()
{
    QFETCH(QString, text);
    QFETCH(bool, pushesLink);

    QPointer<NoticeWindow> notice = open(text, kLink, 0);
    QPointer<NoticeWindow> noLink = open(text, QString(), 0);
    QCOMPARE(notice->objectName(), u"frmNotice"_qs);
    QVERIFY(notice->windowFlags().testFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint));
    QVERIFY(notice->testAttribute(Qt::WA_ShowWithoutActivating));

    auto *header = Child<QLabel>(notice, "lblNoticeHeader");
    auto *body = Child<QLabel>(notice, "lblNoticeText");
    auto *link = Child<QLabel>(notice, "lblClickText");
    auto *border = Child<QWidget>(notice, "shpBorder");
    QVERIFY(header && body && link && border && Child<QTimer>(notice, "tmrScrollForm"));

    QVERIFY(header->font().bold());
    QVERIFY(link->font().bold() && link->font().underline());
    QCOMPARE(LinkColour(notice), QColor(0, 0, 255));
    QCOMPARE(border->palette().color(QPalette::Window), TooltipBase());

    QCOMPARE(header->pos(), QPoint(16, 19));
    QCOMPARE(body->y(), header->geometry().bottom() + 1 + 14);
    QVERIFY(body->height() >= body->heightForWidth(body->width()));
    QCOMPARE(link->isVisibleTo(notice), true);
    QCOMPARE(link->y() > 148, pushesLink);
    QVERIFY(link->y() >= body->geometry().bottom() + 1);
    QCOMPARE(notice->TargetHeight(), link->geometry().bottom() + 1 + 16);
    QCOMPARE(border->height(), notice->TargetHeight());
    QCOMPARE(notice->TargetHeight() > 180, pushesLink);

    QVERIFY(!Child<QLabel>(noLink, "lblClickText")->isVisibleTo(noLink));
    QCOMPARE(noLink->TargetHeight(), notice->TargetHeight());

    QTRY_VERIFY(notice && notice->geometry() == Raised(*notice));
}

void TestNoticeWindow::risesHoldsFallsAndDeletesItself()
{
    QPointer<NoticeWindow> notice = open(kOneLine, kLink, 100);
    QSignalSpy raised(notice.data(), &NoticeWindow::raised);
    QCOMPARE(notice->phase(), NoticeWindow::Phase::Rising);

    QTRY_COMPARE(raised.size(), 1);
    QVERIFY(notice->isVisible());
    QCOMPARE(notice->geometry(), Raised(*notice));
    auto *hold = Child<QTimer>(notice, "tmrScrollForm");
    QCOMPARE(hold->interval(), 100);
    QVERIFY(hold->isActive());

    QTRY_VERIFY(!notice || notice->phase() == NoticeWindow::Phase::Falling);
    QTRY_VERIFY(notice.isNull());
    QCOMPARE(raised.size(), 1);
}

void TestNoticeWindow::pointerOnLinkPausesHold()
{
    QPointer<NoticeWindow> notice = open(kOneLine, kLink, 300);
    QSignalSpy raised(notice.data(), &NoticeWindow::raised);
    QTRY_COMPARE(raised.size(), 1);
    auto *hold = Child<QTimer>(notice, "tmrScrollForm");
    auto *link = Child<QLabel>(notice, "lblClickText");

    MoveOnto(link);
    QCOMPARE(notice->phase(), NoticeWindow::Phase::Paused);
    QVERIFY(!hold->isActive());
    QCOMPARE(LinkColour(notice), QColor(255, 0, 0));

    // The heading changes nothing.
    MoveOnto(Child<QLabel>(notice, "lblNoticeHeader"));
    QTest::qWait(500);
    QVERIFY(notice);
    QCOMPARE(notice->phase(), NoticeWindow::Phase::Paused);
    QCOMPARE(LinkColour(notice), QColor(255, 0, 0));

    MoveOnto(Child<QLabel>(notice, "lblNoticeText"));
    QCOMPARE(notice->phase(), NoticeWindow::Phase::Holding);
    QVERIFY(hold->isActive());
    QCOMPARE(LinkColour(notice), QColor(0, 0, 255));
    QTRY_VERIFY(notice.isNull());
}

void TestNoticeWindow::linkHoveredDuringRiseHoldsAtTop()
{
    QPointer<NoticeWindow> notice = open(kOneLine, kLink, 100);
    QSignalSpy raised(notice.data(), &NoticeWindow::raised);
    notice->PointerOver(NoticeArea::Link);
    QTRY_COMPARE(raised.size(), 1);
    QCOMPARE(notice->phase(), NoticeWindow::Phase::Paused);
    QTest::qWait(300);
    QVERIFY(notice);

    // Moving over the bare background counts as leaving the link.
    const QPoint corner(2, 2);
    QMouseEvent move(QEvent::MouseMove, corner, notice->mapToGlobal(corner), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(notice, &move);
    QCOMPARE(notice->phase(), NoticeWindow::Phase::Holding);
    QTRY_VERIFY(notice.isNull());
}

void TestNoticeWindow::tickWhileFallingIsIgnored()
{
    QPointer<NoticeWindow> notice = open(kOneLine, kLink, 60);
    QTRY_VERIFY(!notice || notice->phase() == NoticeWindow::Phase::Falling);
    QVERIFY(notice);
    auto *hold = Child<QTimer>(notice, "tmrScrollForm");
    hold->setInterval(1);
    hold->start();

    int lowest = notice->height();
    while (notice) {
        QVERIFY2(notice->height() <= lowest, "the fall started over");
        lowest = notice->height();
        QTest::qWait(5);
    }
}

void TestNoticeWindow::linkOpensPrefixedUrl()
{
    QPointer<NoticeWindow> notice = open(kOneLine, kLink, 0);
    QSignalSpy raised(notice.data(), &NoticeWindow::raised);
    QTRY_COMPARE(raised.size(), 1);
    auto *link = Child<QLabel>(notice, "lblClickText");

    QTest::mouseClick(link, Qt::RightButton);
    QVERIFY(opener_.opened.isEmpty());
    QTest::mouseClick(link, Qt::LeftButton);
    QTest::mouseClick(link, Qt::LeftButton);
    const QString expected = u"http://"_qs + kUrl;
    QCOMPARE(opener_.opened, QStringList({expected, expected}));
    QVERIFY(notice && notice->isVisible());
}

void TestNoticeWindow::linkWithoutUrlRestoresParent_data()
{
    QTest::addColumn<bool>("minimized");
    QTest::newRow("hidden parent") << false;
    QTest::newRow("minimized parent") << true;
}

void TestNoticeWindow::linkWithoutUrlRestoresParent()
{
    QFETCH(bool, minimized);
    QWidget parent;
    parent.resize(200, 100);
    if (minimized)
        parent.showMinimized();

    QPointer<NoticeWindow> notice = open(kOneLine, kLink, 0, QString(), &parent);
    QTest::mouseClick(Child<QLabel>(notice, "lblClickText"), Qt::LeftButton);
    QVERIFY(parent.isVisible());
    QVERIFY(!parent.isMinimized());
    QVERIFY(opener_.opened.isEmpty());

    // A parent that has gone away is left alone.
    auto *gone = new QWidget;
    QPointer<NoticeWindow> orphaned = open(kOneLine, kLink, 0, QString(), gone);
    delete gone;
    QTest::mouseClick(Child<QLabel>(orphaned, "lblClickText"), Qt::LeftButton);
    QVERIFY(orphaned);
}

void TestNoticeWindow::noticesLiveIndependently()
{
    QPointer<NoticeWindow> quick = open(kOneLine, kLink, 50);
    QPointer<NoticeWindow> slow = open(LongText(), kLink, 3000);
    QTRY_VERIFY(quick.isNull());
    QVERIFY(slow);
    QCOMPARE(slow->phase(), NoticeWindow::Phase::Holding);
    QCOMPARE(slow->geometry(), Raised(*slow));
    QTRY_VERIFY_WITH_TIMEOUT(slow.isNull(), 10000);
}

void TestNoticeWindow::zeroDelayStaysUp()
{
    QPointer<NoticeWindow> notice = open(kOneLine, kLink, 0);
    QSignalSpy raised(notice.data(), &NoticeWindow::raised);
    QTRY_COMPARE(raised.size(), 1);
    QTest::qWait(500);
    QVERIFY(notice);
    QCOMPARE(notice->phase(), NoticeWindow::Phase::Holding);
    QCOMPARE(notice->geometry(), Raised(*notice));

    // Leaving the link starts no hold either.
    notice->PointerOver(NoticeArea::Link);
    notice->PointerOver(NoticeArea::Background);
    QTest::qWait(100);
    QVERIFY(notice);
}

QTEST_MAIN(TestNoticeWindow)
#include "test_notice_window.moc"
