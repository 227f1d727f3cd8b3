#include "status/condition_images.h"

#include <QDir>
#include <QtTest>

using namespace voltwise;

namespace {
// Pixels clearly of one lamp colour: saturated, bright, in a hue band.
int countHue(const QImage &image, int hueFrom, int hueTo)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = QColor::fromRgba(image.pixel(x, y));
            if (c.alpha() < 200 || c.hsvSaturation() < 150 || c.value() < 200)
                continue;
            const int hue = c.hsvHue();
            if (hue >= hueFrom && hue <= hueTo)
                ++count;
        }
    return count;
}

int countOpaque(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
    return count;
}

int red(const QImage &i)
{
    return countHue(i, 0, 10) + countHue(i, 350, 359);
}
int yellow(const QImage &i)
{
    return countHue(i, 40, 60);
}
int green(const QImage &i)
{
    return countHue(i, 100, 150);
}
} // namespace

class TestConditionImages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        const QString dir = qEnvironmentVariable("VOLTWISE_CONDITION_IMAGES_DIR");
        if (dir.isEmpty())
            return;
        QDir().mkpath(dir);
        for (int size : {16, 22, 24, 32, 48, 64})
            for (int index = 1; index <= kConditionImageCount; ++index)
                QVERIFY(ConditionImage(index, size)
                            .save(QStringLiteral("%1/condition_%2_%3.png")
                                      .arg(dir)
                                      .arg(index)
                                      .arg(size)));
    }

    void imagesAreDistinct_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("16") << 16;
        QTest::newRow("22") << 22;
        QTest::newRow("24") << 24;
        QTest::newRow("32") << 32;
        QTest::newRow("48") << 48;
    }

    void imagesAreDistinct()
    {
        QFETCH(int, size);
        QList<QImage> images;
        for (int index = 1; index <= kConditionImageCount; ++index) {
            const QPixmap pixmap = ConditionPixmap(index, size);
            QCOMPARE(pixmap.size(), QSize(size, size));
            const QImage image = pixmap.toImage();
            QVERIFY2(countOpaque(image) > size * size / 4, qPrintable(QString::number(index)));
            for (qsizetype other = 0; other < images.size(); ++other)
                QVERIFY2(images.at(other) != image,
                         qPrintable(QStringLiteral("%1 equals %2").arg(index).arg(other + 1)));
            images.append(image);
        }
    }

    void litLamps_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("redLit");
        QTest::addColumn<bool>("yellowLit");
        QTest::addColumn<bool>("greenLit");
        for (int size : {16, 32}) {
            const auto row = [&](int index) -> QTestData & {
                return QTest::newRow(qPrintable(QStringLiteral("%1 at %2").arg(index).arg(size)))
                       << index << size;
            };
            row(1) << false << false << false;
            row(2) << false << false << true;
            row(3) << false << true << false;
            row(4) << true << true << false;
            row(5) << true << false << false;
            row(6) << true << false << false;
            row(7) << true << false << false;
        }
    }

    void litLamps()
    {
        QFETCH(int, index);
        QFETCH(int, size);
        QFETCH(bool, redLit);
        QFETCH(bool, yellowLit);
        QFETCH(bool, greenLit);
        const QImage image = ConditionImage(index, size);
        const int lamp = size / 8; // a few pixels of a lit lamp at least
        QCOMPARE(red(image) >= lamp, redLit);
        QCOMPARE(yellow(image) >= lamp, yellowLit);
        QCOMPARE(green(image) >= lamp, greenLit);
    }

    void stopSignIsMostlyRed()
    {
        for (int size : {16, 32}) {
            const QImage image = ConditionImage(8, size);
            QVERIFY(red(image) > size * size / 3);
            QCOMPARE(green(image), 0);
            QCOMPARE(yellow(image), 0);
        }
    }

    void iconHoldsTraySizes()
    {
        for (int index = 1; index <= kConditionImageCount; ++index) {
            const QIcon icon = ConditionIcon(index);
            QVERIFY(!icon.isNull());
            const QList<QSize> sizes = icon.availableSizes();
            for (int size : {16, 22, 24, 32, 48})
                QVERIFY(sizes.contains(QSize(size, size)));
            // Each size is drawn for itself, not scaled from another.
            QCOMPARE(icon.pixmap(QSize(16, 16)).toImage(), ConditionImage(index, 16));
        }
    }

    void outsideRangeIsNull()
    {
        for (int index : {0, -1, 9, 100}) {
            QVERIFY(ConditionIcon(index).isNull());
            QVERIFY(ConditionPixmap(index, 32).isNull());
        }
    }
};

QTEST_MAIN(TestConditionImages)
#include "tst_condition_images.moc"
