#include "status/condition_images.h"

#include <QDir>
#include <QtTest>

using namespace voltwise;

namespace {
// Pixels clearly of one lamp colour: opaque, saturated, bright, in a hue band.
int countHue(const QImage &image, int hueFrom, int hueTo)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = QColor::fromRgba(image.pixel(x, y));
            const int hue = c.hsvHue();
            count += c.alpha() >= 200 && c.hsvSaturation() >= 150 && c.value() >= 200 &&
                     hue >= hueFrom && hue <= hueTo;
        }
    return count;
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
                            .save(u"%1/condition_%2_%3.png"_qs.arg(dir).arg(index).arg(size)));
    }

    // Each size of the icon is drawn for itself, not scaled from another.
    void iconsAreDistinctAndFilled()
    {
        QList<QImage> images;
        for (int index = 1; index <= kConditionImageCount; ++index) {
            const QIcon icon = ConditionIcon(index);
            for (int size : {16, 22, 24, 32, 48}) {
                QVERIFY(icon.availableSizes().contains(QSize(size, size)));
                const QImage image = ConditionPixmap(index, size).toImage();
                QCOMPARE(image.size(), QSize(size, size));
                QCOMPARE(icon.pixmap(QSize(size, size)).toImage(), image);
                int opaque = 0;
                for (int y = 0; y < size; ++y)
                    for (int x = 0; x < size; ++x)
                        opaque += qAlpha(image.pixel(x, y)) > 0;
                QVERIFY2(opaque > size * size / 4, qPrintable(QString::number(index)));
                QVERIFY2(!images.contains(image), qPrintable(QString::number(index)));
                images.append(image);
            }
        }
        for (int index : {0, 9}) {
            QVERIFY(ConditionIcon(index).isNull());
            QVERIFY(ConditionPixmap(index, 32).isNull());
        }
    }

    // Lamps as "ryg"; a capital R: red covers most of the picture.
    void litLamps_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("lit");
        const QStringList lamps{u""_qs,  u"g"_qs, u"y"_qs, u"ry"_qs,
                                u"r"_qs, u"r"_qs, u"r"_qs, u"R"_qs};
        for (int index = 1; index <= kConditionImageCount; ++index)
            QTest::addRow("%d", index) << index << lamps[index - 1];
    }

    void litLamps()
    {
        QFETCH(int, index);
        QFETCH(QString, lit);
        for (int size : {16, 32}) {
            const QImage image = ConditionImage(index, size);
            const int red = countHue(image, 0, 10) + countHue(image, 350, 359);
            const int lamp = lit.contains(u'R') ? size * size / 3 : size / 8;
            QCOMPARE(red >= lamp, lit.contains(u'r', Qt::CaseInsensitive));
            QCOMPARE(countHue(image, 40, 60) >= size / 8, lit.contains(u'y'));
            QCOMPARE(countHue(image, 100, 150) >= size / 8, lit.contains(u'g'));
        }
    }
};

QTEST_MAIN(TestConditionImages)
#include "tst_condition_images.moc"
