#include "pages/outlook_reader.h"

#include <QTest>

#include <functional>

using namespace voltwise;

Q_DECLARE_METATYPE(voltwise::OutlookValues)

namespace {

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

// One letter per table and series, series 1 to 4 of the first table, then of
// the second: r the page's values, h holes, anything else kept.
OutlookValues blocks(QStringView code)
{
    OutlookValues values = previousValues();
    for (int hour = 1; hour <= OutlookHourCount; ++hour)
        for (int series = 1; series <= OutlookSeriesCount; ++series) {
            const QChar c = code[(hour - 1) / 12 * 4 + series - 1];
            if (c == u'r' || c == u'h')
                values.setValue(hour, series, c == u'r' ? pageValue(hour, series) : HoleValue);
        }
    return values;
}

// One series read from hour 1 on, everything else kept.
OutlookValues firstHours(int series, const QList<double> &read)
{
    OutlookValues values = previousValues();
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

// Hour by hour, series 1 to 4 each; a failed comparison names the index.
QList<double> flat(const OutlookValues &values)
{
    QList<double> list;
    for (int hour = 1; hour <= OutlookHourCount; ++hour)
        for (int series = 1; series <= OutlookSeriesCount; ++series)
            list << values.value(hour, series);
    return list;
}

} // namespace

class TestOutlookReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void read_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<OutlookValues>("expected");
        const auto add = [](const char *name, const QString &page, const OutlookValues &expected) {
            QTest::newRow(name) << page << expected;
        };
        QString lowerKey = fullPage();
        lowerKey.replace(u"Actual Demand"_qs, u"actual demand"_qs);
        QString keys;
        for (QStringView key : OutlookSeriesNames)
            keys += key;

        add("both tables", fullPage(), blocks(u"rrrrrrrr"));
        add("empty page", {}, previousValues());
        add("404 anywhere", fullPage() + u"404 Not Found"_qs, previousValues());
        add("404 in other letter case is read", fullPage() + u"404 not found"_qs,
            blocks(u"rrrrrrrr"));
        add("first table only", table(0), blocks(u"rrrr...."));
        add("empty cells are holes", fullPage([](int series, int hour) {
                return series == 3 && hour > 12 ? u" \r\n<br>"_qs : pageCell(series, hour);
            }),
            blocks(u"rrrrrrhr"));
        add("cells that are not numbers keep", fullPage([](int series, int hour) {
                return series == 2 && hour <= 12 ? u"&nbsp;"_qs : pageCell(series, hour);
            }),
            blocks(u"r.rrrrrr"));
        add("missing row keeps", table(0) + table(1, {1, 2, 3}), blocks(u"rrrrrrr."));
        add("row key before the cursor", table(0, {2, 1, 3, 4}), blocks(u"r.rr...."));
        add("row key in other letter case", lowerKey, blocks(u"rr.rrr.r"));
        add("tags and blanks around numbers",
            u"<th>Available Resources</th><td class=\"n\">\r\n  <b>12,345</b>\r\n</td>"
            u"<td><font size=2>678 </font></td>"_qs,
            firstHours(4, {12345, 678}));
        add("cells run out",
            u"Day-Ahead Demand Forecast<td>10</td><td>20</td><td>30</td>\r\n"
            u"Hour-Ahead Demand Forecast 40 50\r\nActual Demand"_qs,
            firstHours(1, {10, 20, 30}));
        add("cell without closing tag stops the reading",
            u"Day-Ahead Demand Forecast<td>10</td><td>20</td><td>30</td><td>40</td><td>50\r\n"
            u"Hour-Ahead Demand Forecast<td>60<td>70\r\n"_qs +
                table(1).remove(u"</td>"_qs),
            firstHours(1, {10, 20, 30, 40}));
        add("operator's separators", u"Actual Demand<td>24,400</td><td>1,234.5</td>"_qs,
            firstHours(3, {24400, 1234.5}));
        add("other separators keep", u"Actual Demand<td>1.234,5</td>"_qs, previousValues());
        add("hostile: megabytes of unclosed cells", keys + u"<td"_qs.repeated(1024 * 1024),
            previousValues());
    }

    void read()
    {
        QFETCH(QString, page);
        QFETCH(OutlookValues, expected);
        QCOMPARE(flat(ReadOutlookPage(page, previousValues())), flat(expected));
    }
};

QTEST_GUILESS_MAIN(TestOutlookReader)
#include "test_outlook_reader.moc"
