#include "ui/label_styles.h"
#include "ui/status_strip.h"

#include <QApplication>
#include <QLabel>
#include <QTest>

using namespace voltwise;

namespace {

QPalette Scheme(const QColor &text, const QColor &disabledText, const QColor &base)
{
    QPalette palette;
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, disabledText);
    return palette;
}

QColor TextColour(const QLabel *label)
{
    return label->palette().color(QPalette::Active, QPalette::WindowText);
}

} // namespace

class TestStatusStrip : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Both colours come from the scheme; where its greyed text cannot be told
    // from the lit text or the strip, the lit text goes halfway to the strip.
    void unlitStandsApartFromLit_data()
    {
        QTest::addColumn<QPalette>("scheme");
        QTest::addColumn<QColor>("unlit");
        const QColor white(255, 255, 255);
        const QColor dark(42, 42, 42);
        QTest::newRow("default") << QPalette()
                                 << QPalette().color(QPalette::Disabled, QPalette::WindowText);
        QTest::newRow("dark") << Scheme(white, QColor(127, 127, 127), dark)
                              << QColor(127, 127, 127);
        QTest::newRow("flat") << Scheme(Qt::black, Qt::black, white) << QColor(128, 128, 128);
        QTest::newRow("flat dark") << Scheme(white, white, dark) << QColor(149, 149, 149);
        QTest::newRow("greyed text lost in the strip")
            << Scheme(white, QColor(26, 26, 26), Qt::black) << QColor(128, 128, 128);
    }

    void unlitStandsApartFromLit()
    {
        QFETCH(QPalette, scheme);
        QFETCH(QColor, unlit);
        QApplication::setPalette(scheme);
        StatusStrip strip;
        QApplication::setPalette(QPalette());
        SetScaleLabelLit(strip.lblStatus[1], true);
        QCOMPARE(TextColour(strip.lblStatus[1]), scheme.color(QPalette::WindowText));
        QCOMPARE(TextColour(strip.lblStatus[0]), unlit);
        QCOMPARE(TextColour(strip.lblForecast[2]), unlit);
    }
};

QTEST_MAIN(TestStatusStrip)
#include "test_status_strip.moc"
