#include "pages/forecast_reader.h"

#include <QTest>

using namespace voltwise;

namespace {
const QString kHeading = u"Current Active Forecast(s): \r\n\r\n"_qs;
const QString kNone = u"No forecasts of load reductions are being issued at this time."_qs;
const QString kPrevious = u"previous forecasts"_qs;
} // namespace

class TestForecastReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void read_data();
    void read();
};

void TestForecastReader::read_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("expected");

    const QString section =
        u"<h3>Current Active Forecast(s)</h3>\r\n<pre>\r\n<b>1-Hour Notice</b>: "
        u"300  MW\r\n</pre>"_qs;
    QTest::newRow("empty page keeps text") << QString() << kPrevious;
    QTest::newRow("404 inside content keeps text")
        << section + u"<!-- 404 Not Found -->"_qs << kPrevious;
    QTest::newRow("body keeps line breaks and inner blanks")
        << section << kHeading + u"\r\n1-Hour Notice: 300  MW\r\n"_qs;
    QTest::newRow("no heading") << u"<pre>300 MW</pre>"_qs << kHeading + kNone;
    QTest::newRow("empty pre") << u"Current Active Forecast(s)<pre></pre>"_qs << kHeading + kNone;
    QTest::newRow("tags only") << u"Current Active Forecast(s)<pre><b></b></pre>"_qs << kHeading;
    QTest::newRow("heading in other letter case")
        << u"CURRENT ACTIVE FORECAST(S)<pre>300 MW</pre>"_qs << kHeading + kNone;
    QTest::newRow("heading without pre")
        << u"Current Active Forecast(s): none</p>"_qs << kHeading + kNone;
    QTest::newRow("pre before heading is not used")
        << u"<pre>old</pre>Current Active Forecast(s)<pre>new</pre>"_qs << kHeading + u"new"_qs;
}

void TestForecastReader::read()
{
    QFETCH(QString, page);
    QFETCH(QString, expected);
    QCOMPARE(ReadForecastPage(page, kPrevious), expected);
}

QTEST_GUILESS_MAIN(TestForecastReader)
#include "test_forecast_reader.moc"
