#include "status/condition_images.h"

#include <QtTest>

using namespace voltwise;

class TestConditionImages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each size of an icon is drawn for itself, not scaled from another.
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

    // The lit lamps as "ryg" at 32 pixels; R: red covers most of the picture.
    void litLamps()
    {
        const QStringList lit{u""_qs,  u"g"_qs, u"y"_qs, u"ry"_qs,
                              u"r"_qs, u"r"_qs, u"r"_qs, u"R"_qs};
        for (int index = 1; index <= kConditionImageCount; ++index) {
            int red = 0, yellow = 0, green = 0;
            const QImage image = ConditionImage(index, 32);
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x) {
                    const QColor c = QColor::fromRgba(image.pixel(x, y));
                    if (c.alpha() < 200 || c.hsvSaturation() < 150 || c.value() < 200)
                        continue;
                    const int hue = c.hsvHue();
                    red += hue <= 10 || hue >= 350;
                    yellow += hue >= 40 && hue <= 60;
                    green += hue >= 100 && hue <= 150;
                }
            const QString lamps = lit[index - 1];
            QCOMPARE(red >= (lamps == u"R" ? 32 * 32 / 3 : 4),
                     lamps.contains(u'r', Qt::CaseInsensitive));
            QCOMPARE(yellow >= 4, lamps.contains(u'y'));
            QCOMPARE(green >= 4, lamps.contains(u'g'));
        }
    }
};

QTEST_MAIN(TestConditionImages)
#include "tst_condition_images.moc"
