// The icon written into the theme at build time is the program's own
// drawing: every picture at its folder's size, the scalable one alike.
#include "status/condition_images.h"
#include "status/program_icon.h"

#include <QPainter>
#include <QSvgRenderer>
#include <QTest>

using namespace voltwise;

namespace {

const QString kTheme = QStringLiteral(VOLTWISE_ICON_THEME);

// The largest difference of any channel of any pixel.
int largestDifference(const QImage &a, const QImage &b)
{
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            for (const int d : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q),
                                qAlpha(p) - qAlpha(q)})
                largest = std::max(largest, std::abs(d));
        }
    return largest;
}

} // namespace

class TestProgramIcon : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pictures_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<int>("size");
        for (const int size : kProgramIconSizes)
            QTest::addRow("%d", size) << u"%1x%1"_qs.arg(size) << size;
        QTest::newRow("scalable") << u"scalable"_qs << 256;
    }

    void pictures()
    {
        QFETCH(QString, folder);
        QFETCH(int, size);
        const QString path = u"%1/%2/apps/%3"_qs.arg(kTheme, folder, kProgramIconName);
        QImage picture;
        if (folder == u"scalable") {
            QSvgRenderer svg(path + u".svg"_qs);
            QVERIFY(svg.isValid());
            QCOMPARE(svg.viewBox(), QRect(0, 0, size, size));
            picture = QImage(size, size, QImage::Format_ARGB32_Premultiplied);
            picture.fill(Qt::transparent);
            QPainter painter(&picture);
            svg.render(&painter);
        } else {
            QVERIFY(picture.load(path + u".png"_qs));
        }
        QCOMPARE(picture.size(), QSize(size, size));
        const QImage drawn = ConditionImage(kProgramImageIndex, size);
        QCOMPARE_LE(largestDifference(picture.convertToFormat(drawn.format()), drawn), 2);
    }
};

QTEST_MAIN(TestProgramIcon)
#include "test_program_icon.moc"
