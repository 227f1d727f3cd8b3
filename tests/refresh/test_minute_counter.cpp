#include "refresh/minute_counter.h"

#include <QTest>

using namespace voltwise;

// One tick: (AutoCheck, UpdateInterval at that tick).
struct Tick
{
    bool autoCheck;
    int interval;
};
Q_DECLARE_METATYPE(QList<Tick>)

static QList<Tick> ticks(int count, bool autoCheck, int interval)
{
    return QList<Tick>(count, Tick{autoCheck, interval});
}

class TestMinuteCounter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void refreshTicks_data()
    {
        QTest::addColumn<QList<Tick>>("sequence");
        QTest::addColumn<QList<int>>("refreshAt"); // 1-based tick numbers

        QTest::newRow("interval 1: every tick") << ticks(4, true, 1) << QList<int>{1, 2, 3, 4};
        QTest::newRow("interval 3: ticks 1, 4, 7") << ticks(8, true, 3) << QList<int>{1, 4, 7};
        QTest::newRow("auto check off: never") << ticks(6, false, 1) << QList<int>{};
        QTest::newRow("below 1 acts as 1") << ticks(3, true, 0) << QList<int>{1, 2, 3};
        // The counter runs on while off; back on, the next zero tick refreshes.
        QTest::newRow("off then on keeps counting")
            << ticks(2, false, 3) + ticks(5, true, 3) << QList<int>{4, 7};
        // A new interval takes effect at the next tick with the counter kept.
        QTest::newRow("interval change keeps counter")
            << ticks(2, true, 3) + ticks(6, true, 2) << QList<int>{1, 5, 7};
    }

    void refreshTicks()
    {
        QFETCH(QList<Tick>, sequence);
        QFETCH(QList<int>, refreshAt);
        MinuteCounter counter;
        QList<int> refreshed;
        for (int i = 0; i < sequence.size(); ++i) {
            if (counter.shouldRefresh(sequence[i].autoCheck))
                refreshed.append(i + 1);
            counter.advance(sequence[i].interval);
        }
        QCOMPARE(refreshed, refreshAt);
    }
};

QTEST_GUILESS_MAIN(TestMinuteCounter)
#include "test_minute_counter.moc"
