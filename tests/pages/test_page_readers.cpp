#include "pages/forecast_reader.h"
#include "pages/notices_reader.h"
#include "pages/outlook_reader.h"
#include "pages/page_sections.h"

#include <QTest>

#include <functional>

using namespace voltwise;

namespace {
const QString kNoActive = u"No active notices are being issued at this time."_qs;
const QString kNoPending = u"No pending notices are being issued at this time."_qs;
const NoticesTexts kPrevious{u"previous notices"_qs, u"previous table"_qs};
const QString kPreviousForecasts = u"previous forecasts"_qs;
const QString kForecastHeading = u"Current Active Forecast(s): \r\n\r\n"_qs;
const QString kNoForecast =
    kForecastHeading + u"No forecasts of load reductions are being issued at this time."_qs;

QString noticesText(const QString &active = kNoActive, const QString &pending = kNoPending)
{
    return u"Current Active Notice(s): \r\n\r\n"_qs + active +
           u"\r\n\r\nPending Notices: \r\n\r\n"_qs + pending;
}

double pageValue(int hour, int series)
{
    return 1000.0 * series + hour;
}

// Distinct from 0 and from any page value, so "unchanged" shows.
OutlookValues previousValues()
{
    OutlookValues values;
    for (int hour = 1; hour <= OutlookHourCount; ++hour)
        for (int series = 1; series <= OutlookSeriesCount; ++series)
            values.setValue(hour, series, -(100.0 * hour + series));
    return values;
}

// A letter per table and series (1 to 4, twice): r the page's values, h holes,
// else kept; then `read` in `series` from hour 1 on.
OutlookValues blocks(QStringView code, int series = 0, const QList<double> &read = {})
{
    OutlookValues values = previousValues();
    for (int hour = 1; hour <= OutlookHourCount; ++hour)
        for (int s = 1; s <= OutlookSeriesCount; ++s) {
            const QChar c = code[(hour - 1) / 12 * 4 + s - 1];
            if (c == u'r' || c == u'h')
                values.setValue(hour, s, c == u'r' ? pageValue(hour, s) : HoleValue);
        }
    for (int k = 0; k < read.size(); ++k)
        values.setValue(k + 1, series, read[k]);
    return values;
}

using CellOf = std::function<QString(int series, int hour)>;

QString pageCell(int series, int hour)
{
    return QString::number(pageValue(hour, series));
}

// A heading row of hours, then a row per listed series, cells on lines of their own.
QString table(int t, const QList<int> &seriesOrder = {1, 2, 3, 4}, const CellOf &cellOf = pageCell)
{
    QString html = u"<table>\r\n<tr><td class=\"key\">Hour Ending</td>"_qs;
    for (int k = 1; k <= 12; ++k)
        html += u"<td>%1</td>"_qs.arg(12 * t + k);
    for (int series : seriesOrder) {
        html += u"</tr>\r\n<tr>\r\n  <td class=\"key\">"_qs +
                OutlookSeriesNames[series - 1].toString() + u"</td>"_qs;
        for (int k = 1; k <= 12; ++k)
            html += u"<td>\r\n"_qs + cellOf(series, 12 * t + k) + u"\r\n</td>"_qs;
    }
    return html + u"</tr>\r\n</table>\r\n"_qs;
}

QString fullPage(const CellOf &cellOf = pageCell)
{
    return u"<h1>Today's Outlook</h1>\r\n"_qs + table(0, {1, 2, 3, 4}, cellOf) +
           table(1, {1, 2, 3, 4}, cellOf);
}

} // namespace

// The readers of the status, forecast and outlook pages.
class TestPageReaders : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The status page's notices and table, and the forecast page, whose
    // sections are found by the same rules. An empty page keeps what was
    // read before (every page: test_hostile_server's "empty" rows).
    void sections_data()
    {
        QTest::addColumn<bool>("forecast");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("table");
        const QString table = u"<h2>ISO System Status</h2>\r\n<TABLE border=1>\r\n<TR><TD>Current "
                              u"System Conditions</TD><TD> Normal</TD></TR>\r\n</TABLE>"_qs;
        const QString tableText = u"Current System ConditionsNormal"_qs;
        const QString active = u"Current Active Notice(s)<br>\r\n<pre>\r\nFlex Alert "
                               u"16:00-21:00\r\n  Conserve power.</pre>"_qs;
        const QString pending = u"<b>Pending Notices</b><pre><b>RMO</b>: tomorrow</pre>"_qs;
        const QString both =
            noticesText(u"\r\nFlex Alert 16:00-21:00\r\n  Conserve power."_qs, u"RMO: tomorrow"_qs);
        const QString kept = kPrevious.StatusTableText;
        const QString none = noticesText();
        const auto add = [](const char *name, const QString &page, const QString &notices,
                            const QString &table) {
            QTest::newRow(name) << false << page << notices << table;
        };
        add("404 anywhere keeps both", table + active + u"<p>404 Not Found</p>"_qs + pending,
            kPrevious.NoticesText, kept);
        add("whole page", table + active + pending, both, tableText);
        add("404 in other letter case is read", table + u"404 not found"_qs, none, tableText);
        add("no table: notices still rebuilt", active,
            noticesText(u"\r\nFlex Alert 16:00-21:00\r\n  Conserve power."_qs), kept);
        add("table of tags only", u"ISO System Status<TABLE><TR><TD></TD></TR></TABLE>"_qs, none,
            QString());
        add("hostile: megabytes of open tags",
            u"ISO System Status"_qs + u"<TABLE"_qs.repeated(1024 * 1024) +
                u"Current Active Notice(s)<pre>"_qs.repeated(128 * 1024),
            none, kept);
        add("pre never closed", u"Current Active Notice(s)<pre>A"_qs, none, kept);
        add("direction controls taken out",
            QString(table).replace(u"Normal"_qs, u"\u202ENor\u2066mal"_qs) +
                u"Pending Notices<pre>\u202ARMO\u2069: \u202Dtomorrow</pre>"_qs,
            noticesText(kNoActive, u"RMO: tomorrow"_qs), tableText);

        const auto forecast = [](const char *name, const QString &page, const QString &text) {
            QTest::newRow(name) << true << page << text << QString();
        };
        const QString section = u"<h3>Current Active Forecast(s)</h3>\r\n<pre>\r\n<b>1-Hour "
                                u"Notice</b>: 300  MW\r\n</pre>"_qs;
        forecast("forecast: 404 anywhere", section + u"<!-- 404 Not Found -->"_qs,
                 kPreviousForecasts);
        forecast("forecast: line breaks and inner blanks kept", section,
                 kForecastHeading + u"\r\n1-Hour Notice: 300  MW\r\n"_qs);
        forecast("forecast: hostile, megabytes of open sections",
                 u"Current Active Forecast(s)<pre>"_qs.repeated(128 * 1024), kNoForecast);
    }

    void sections()
    {
        QFETCH(bool, forecast);
        QFETCH(QString, page);
        QFETCH(QString, text);
        QFETCH(QString, table);
        if (forecast)
            QCOMPARE(ReadForecastPage(page, kPreviousForecasts), text);
        else
            QCOMPARE(ReadNoticesPage(page, kPrevious), (NoticesTexts{text, table}));
    }

    void shownTextCapped()
    {
        const QString fits(kShownTextMaxLength, u'x');
        QCOMPARE(CapShownText(fits), fits);
        const QString cut = CapShownText(fits + u'y');
        QVERIFY(cut.startsWith(fits));
        QVERIFY(cut.sliced(fits.size()).startsWith(u"\r\n\r\n[The rest of this text is not shown"));
    }

    void outlook_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<OutlookValues>("expected");
        const auto add = [](const char *name, const QString &page, const OutlookValues &expected) {
            QTest::newRow(name) << page << expected;
        };
        QString keys;
        for (QStringView key : OutlookSeriesNames)
            keys += key;

        add("both tables", fullPage(), blocks(u"rrrrrrrr"));
        add("404 anywhere", fullPage() + u"404 Not Found"_qs, previousValues());
        add("empty cells are holes", fullPage([](int series, int hour) {
                return series == 3 && hour > 12 ? u" \r\n<br>"_qs : pageCell(series, hour);
            }),
            blocks(u"rrrrrrhr"));
        add("cells that are not numbers keep", fullPage([](int series, int hour) {
                return series == 2 && hour <= 12 ? u"&nbsp;"_qs : pageCell(series, hour);
            }),
            blocks(u"r.rrrrrr"));
        add("row key before the cursor", table(0, {2, 1, 3, 4}), blocks(u"r.rr...."));
        add("cell without closing tag stops the reading",
            u"Day-Ahead Demand Forecast<td>10</td><td>20</td><td>30</td><td>40</td><td>50\r\n"
            u"Hour-Ahead Demand Forecast<td>60<td>70\r\n"_qs +
                table(1).remove(u"</td>"_qs),
            blocks(u"........", 1, {10, 20, 30, 40}));
        add("operator's separators", u"Actual Demand<td>24,400</td><td>1,234.5</td>"_qs,
            blocks(u"........", 3, {24400, 1234.5}));
        add("other separators keep", u"Actual Demand<td>1.234,5</td>"_qs, previousValues());
        add("figures that cannot be meant keep",
            u"Actual Demand<td>-30000</td><td>1e20</td><td>24400</td>"_qs,
            blocks(u"........", 3,
                   {previousValues().value(1, 3), previousValues().value(2, 3), 24400}));
        add("hostile: megabytes of unclosed cells", keys + u"<td"_qs.repeated(1024 * 1024),
            previousValues());
    }

    void outlook()
    {
        QFETCH(QString, page);
        QFETCH(OutlookValues, expected);
        QCOMPARE(ReadOutlookPage(page, previousValues()), expected);
    }
};

QTEST_GUILESS_MAIN(TestPageReaders)
#include "test_page_readers.moc"
