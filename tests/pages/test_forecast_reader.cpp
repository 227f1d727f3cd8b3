#include "pages/forecast_reader.h"

#include <QTest>

using namespace voltwise;

class TestForecastReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void read_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("expected");
        const QString previous = u"previous forecasts"_qs;
        const QString heading = u"Current Active Forecast(s): \r\n\r\n"_qs;
        const QString none =
            heading + u"No forecasts of load reductions are being issued at this time."_qs;
        const QString section = u"<h3>Current Active Forecast(s)</h3>\r\n<pre>\r\n<b>1-Hour "
                                u"Notice</b>: 300  MW\r\n</pre>"_qs;
        QTest::newRow("empty page") << QString() << previous;
        QTest::newRow("404 anywhere") << section + u"<!-- 404 Not Found -->"_qs << previous;
        QTest::newRow("line breaks and inner blanks kept")
            << section << heading + u"\r\n1-Hour Notice: 300  MW\r\n"_qs;
        QTest::newRow("no heading") << u"<pre>300 MW</pre>"_qs << none;
        QTest::newRow("tags only") << u"Current Active Forecast(s)<pre><b></b></pre>"_qs << heading;
        QTest::newRow("heading in other letter case")
            << u"CURRENT ACTIVE FORECAST(S)<pre>300 MW</pre>"_qs << none;
        QTest::newRow("pre before the heading")
            << u"<pre>old</pre>Current Active Forecast(s)<pre>new</pre>"_qs << heading + u"new"_qs;
    }

    void read()
    {
        QFETCH(QString, page);
        QFETCH(QString, expected);
        QCOMPARE(ReadForecastPage(page, u"previous forecasts"_qs), expected);
    }
};

QTEST_GUILESS_MAIN(TestForecastReader)
#include "test_forecast_reader.moc"
