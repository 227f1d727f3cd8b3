#include "pages/notice_layout.h"

#include <QTest>

using namespace voltwise;
using namespace std::chrono_literals;

class TestNoticeLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void twipsToPixels_data();
    void twipsToPixels();
    void layOut_data();
    void layOut();
    void noticeRect_data();
    void noticeRect();
    void slideHeight_data();
    void slideHeight();
    void capNoticeText_data();
    void capNoticeText();
};

void TestNoticeLayout::twipsToPixels_data()
{
    QTest::addColumn<int>("twips");
    QTest::addColumn<int>("pixels");
    QTest::newRow("one-line notice height") << 2655 << 177;
    QTest::newRow("window width") << 3270 << 218;
    QTest::newRow("gap rounds up") << 205 << 14;
    QTest::newRow("half rounds up") << 8 << 1;
}

void TestNoticeLayout::twipsToPixels()
{
    QFETCH(int, twips);
    QFETCH(int, pixels);
    QCOMPARE(TwipsToPixels(twips), pixels);
}

void TestNoticeLayout::layOut_data()
{
    QTest::addColumn<int>("headerHeight");
    QTest::addColumn<int>("textHeight");
    QTest::addColumn<int>("clickHeight");
    QTest::addColumn<int>("textTop");
    QTest::addColumn<int>("clickTop");
    QTest::addColumn<int>("targetHeight");
    QTest::newRow("one line each") << 195 << 195 << 195 << 685 << 2220 << 2655;
    QTest::newRow("text ends on the designed link top")
        << 195 << 1535 << 195 << 685 << 2220 << 2655;
    QTest::newRow("long text pushes the link down") << 195 << 1950 << 195 << 685 << 2635 << 3070;
    QTest::newRow("two-line heading moves the text") << 390 << 195 << 195 << 880 << 2220 << 2655;
    QTest::newRow("tall heading and text add up") << 390 << 1560 << 210 << 880 << 2440 << 2890;
}

void TestNoticeLayout::layOut()
{
    QFETCH(int, headerHeight);
    QFETCH(int, textHeight);
    QFETCH(int, clickHeight);
    QFETCH(int, textTop);
    QFETCH(int, clickTop);
    QFETCH(int, targetHeight);

    const NoticeLayout layout = LayOutNotice({headerHeight, textHeight, clickHeight}, true);
    QCOMPARE(layout.textTop, textTop);
    QCOMPARE(layout.clickTop, clickTop);
    QCOMPARE(layout.targetHeight, targetHeight);
    QVERIFY(layout.clickVisible);
}

void TestNoticeLayout::noticeRect_data()
{
    QTest::addColumn<QRect>("available");
    QTest::addColumn<int>("height");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("taskbar at the bottom")
        << QRect(0, 0, 1920, 1040) << 177 << QRect(1702, 863, 218, 177);
    QTest::newRow("taskbar on the left")
        << QRect(48, 0, 1872, 1080) << 177 << QRect(1702, 903, 218, 177);
    QTest::newRow("taskbar at the top")
        << QRect(0, 40, 1920, 1040) << 177 << QRect(1702, 903, 218, 177);
    QTest::newRow("screen left of the primary")
        << QRect(-1280, -200, 1280, 984) << 50 << QRect(-218, 734, 218, 50);
    QTest::newRow("nothing shown yet sits on the bottom edge")
        << QRect(0, 0, 800, 600) << 0 << QRect(582, 600, 218, 0);
}

void TestNoticeLayout::noticeRect()
{
    QFETCH(QRect, available);
    QFETCH(int, height);
    QFETCH(QRect, expected);
    QCOMPARE(NoticeRect(available, 218, height), expected);
}

void TestNoticeLayout::slideHeight_data()
{
    QTest::addColumn<int>("elapsedMs");
    QTest::addColumn<int>("durationMs");
    QTest::addColumn<bool>("up");
    QTest::addColumn<int>("expected");
    QTest::newRow("rise halfway") << 125 << 250 << true << 88;
    QTest::newRow("rise done on time") << 250 << 250 << true << 177;
    QTest::newRow("late frame stops at the top") << 900 << 250 << true << 177;
    QTest::newRow("fall halfway") << 125 << 250 << false << 89;
    QTest::newRow("fall done on time") << 250 << 250 << false << 0;
    QTest::newRow("late frame stops at the bottom") << 900 << 250 << false << 0;
    QTest::newRow("instant rise") << 0 << 0 << true << 177;
}

void TestNoticeLayout::slideHeight()
{
    QFETCH(int, elapsedMs);
    QFETCH(int, durationMs);
    QFETCH(bool, up);
    QFETCH(int, expected);
    QCOMPARE(SlideHeight(std::chrono::milliseconds(elapsedMs),
                         std::chrono::milliseconds(durationMs), 177,
                         up ? SlideDirection::Up : SlideDirection::Down),
             expected);
}

void TestNoticeLayout::capNoticeText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const QString full(kNoticeTextMaxLength, u'a');
    QTest::newRow("short") << u"System Normal"_qs << u"System Normal"_qs;
    QTest::newRow("at the limit") << full << full;
    QTest::newRow("beyond the limit") << full + u"b"_qs << full + QChar(0x2026);
    QString pairAtCut(kNoticeTextMaxLength - 1, u'a');
    pairAtCut += QString::fromUtf16(u"\U0001F600") + u"tail"_qs;
    QTest::newRow("no half character")
        << pairAtCut << QString(kNoticeTextMaxLength - 1, u'a') + QChar(0x2026);
}

void TestNoticeLayout::capNoticeText()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(CapNoticeText(text), expected);
}

QTEST_GUILESS_MAIN(TestNoticeLayout)
#include "test_notice_layout.moc"
