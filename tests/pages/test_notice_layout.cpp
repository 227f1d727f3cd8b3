#include "pages/notice_layout.h"

#include <QTest>

using namespace voltwise;
using namespace std::chrono_literals;

Q_DECLARE_METATYPE(voltwise::NoticeMeasures)
Q_DECLARE_METATYPE(voltwise::NoticeLayout)

class TestNoticeLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void twipsToPixels()
    {
        QCOMPARE(TwipsToPixels(2655), 177);
        QCOMPARE(TwipsToPixels(205), 14);
        QCOMPARE(TwipsToPixels(7.5), 1); // half rounds up
    }

    void layOut_data()
    {
        QTest::addColumn<NoticeMeasures>("measures");
        QTest::addColumn<NoticeLayout>("expected"); // text top, link top, height, in twips
        QTest::newRow("one line each")
            << NoticeMeasures{195, 195, 195} << NoticeLayout{685, 2220, 2655, true};
        QTest::newRow("text ends on the designed link top")
            << NoticeMeasures{195, 1535, 195} << NoticeLayout{685, 2220, 2655, true};
        QTest::newRow("long text pushes the link down")
            << NoticeMeasures{195, 1950, 210} << NoticeLayout{685, 2635, 3085, true};
        QTest::newRow("two-line heading moves the text")
            << NoticeMeasures{390, 195, 195} << NoticeLayout{880, 2220, 2655, true};
    }

    void layOut()
    {
        QFETCH(NoticeMeasures, measures);
        QFETCH(NoticeLayout, expected);
        const NoticeLayout layout = LayOutNotice(measures, true);
        QCOMPARE(layout.textTop, expected.textTop);
        QCOMPARE(layout.clickTop, expected.clickTop);
        QCOMPARE(layout.targetHeight, expected.targetHeight);
        QVERIFY(layout.clickVisible);
    }

    // Right and bottom edges on those of the available area, wherever it lies.
    void noticeRect()
    {
        QCOMPARE(NoticeRect(QRect(0, 40, 1920, 1040), 218, 177), QRect(1702, 903, 218, 177));
        QCOMPARE(NoticeRect(QRect(-1280, -200, 1280, 984), 218, 50), QRect(-218, 734, 218, 50));
        QCOMPARE(NoticeRect(QRect(0, 0, 800, 600), 218, 0), QRect(582, 600, 218, 0));
    }

    void slideHeight()
    {
        const auto up = SlideDirection::Up;
        const auto down = SlideDirection::Down;
        QCOMPARE(SlideHeight(125ms, 250ms, 177, up), 88);
        QCOMPARE(SlideHeight(125ms, 250ms, 177, down), 89);
        QCOMPARE(SlideHeight(900ms, 250ms, 177, up), 177); // a late frame stops at the end
        QCOMPARE(SlideHeight(900ms, 250ms, 177, down), 0);
        QCOMPARE(SlideHeight(0ms, 0ms, 177, up), 177);
    }

    void capNoticeText()
    {
        const QString full(kNoticeTextMaxLength, u'a');
        const QString ellipsis(QChar(0x2026));
        QCOMPARE(CapNoticeText(full), full);
        QCOMPARE(CapNoticeText(full + u'b'), full + ellipsis);
        const QString pairAtCut = full.first(kNoticeTextMaxLength - 1) + u"\U0001F600 tail"_qs;
        QCOMPARE(CapNoticeText(pairAtCut), full.first(kNoticeTextMaxLength - 1) + ellipsis);
    }
};

QTEST_GUILESS_MAIN(TestNoticeLayout)
#include "test_notice_layout.moc"
