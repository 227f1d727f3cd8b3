#include "pages/outlook_reader.h"

#include <QTest>

#include <functional>

using namespace voltwise;

Q_DECLARE_METATYPE(voltwise::OutlookValues)

namespace {

// Distinct from 0 and from any value a test page holds, so "unchanged" shows.
OutlookValues previousValues()
{
    OutlookValues values;
    for (int hour = 1; hour <= OutlookHourCount; ++hour)
        for (int series = 1; series <= OutlookSeriesCount; ++series)
            values.setValue(hour, series, -(100.0 * hour + series));
    return values;
}

double pageValue(int hour, int series)
{
    return 1000.0 * series + hour;
}

QStringList pageCells(int table, int series)
{
    QStringList cells;
    for (int k = 1; k <= 12; ++k)
        cells << QString::number(pageValue(12 * table + k, series));
    return cells;
}

QString row(QStringView key, const QStringList &cells)
{
    QString html = u"<tr>\r\n  <td class=\"key\">"_qs + key.toString() + u"</td>"_qs;
    for (const QString &cell : cells)
        html += u"<td>\r\n"_qs + cell + u"\r\n</td>"_qs;
    return html + u"</tr>\r\n"_qs;
}

using CellsOf = std::function<QStringList(int table, int series)>;

// One outlook table: a heading row of hours, then a row per listed series.
QString table(int t, const QList<int> &seriesOrder, const CellsOf &cellsOf = pageCells)
{
    QStringList hours;
    for (int k = 1; k <= 12; ++k)
        hours << QString::number(12 * t + k);
    QString html = u"<table>\r\n"_qs + row(u"Hour Ending", hours);
    for (int series : seriesOrder)
        html += row(OutlookSeriesNames[series - 1], cellsOf(t, series));
    return html + u"</table>\r\n"_qs;
}

const QList<int> kAllSeries{1, 2, 3, 4};

QString fullPage(const CellsOf &cellsOf = pageCells)
{
    return u"<html><body><h1>Today's Outlook</h1>\r\n"_qs + table(0, kAllSeries, cellsOf) +
           table(1, kAllSeries, cellsOf) + u"</body></html>"_qs;
}

OutlookValues withPageValues(OutlookValues values, int table, int series)
{
    for (int k = 1; k <= 12; ++k)
        values.setValue(12 * table + k, series, pageValue(12 * table + k, series));
    return values;
}

OutlookValues allPageValues()
{
    OutlookValues values = previousValues();
    for (int t = 0; t < 2; ++t)
        for (int series : kAllSeries)
            values = withPageValues(values, t, series);
    return values;
}

QString describe(double value)
{
    return value == HoleValue ? u"HoleValue"_qs : QString::number(value, 'g', 17);
}

} // namespace

class TestOutlookReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void read_data();
    void read();
    void numbersFollowLocale_data();
    void numbersFollowLocale();
    void hostilePages_data();
    void hostilePages();

private:
    static void addColumns();
    static void check();
};

void TestOutlookReader::addColumns()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<OutlookValues>("expected");
}

void TestOutlookReader::check()
{
    QFETCH(QString, page);
    QFETCH(OutlookValues, expected);
    const OutlookValues read = ReadOutlookPage(page, previousValues(), QLocale(u"en_US"_qs));
    for (int hour = 1; hour <= OutlookHourCount; ++hour)
        for (int series = 1; series <= OutlookSeriesCount; ++series)
            QVERIFY2(
                read.value(hour, series) == expected.value(hour, series),
                qPrintable(u"hour %1 series %2: %3, expected %4"_qs.arg(hour).arg(series).arg(
                    describe(read.value(hour, series)), describe(expected.value(hour, series)))));
}

void TestOutlookReader::read_data()
{
    addColumns();
    const OutlookValues previous = previousValues();

    QTest::newRow("both tables fill all values") << fullPage() << allPageValues();
    QTest::newRow("empty page") << QString() << previous;
    QTest::newRow("404 anywhere") << fullPage() + u"404 Not Found"_qs << previous;
    QTest::newRow("404 in lower case is read")
        << fullPage() + u"404 not found"_qs << allPageValues();

    OutlookValues firstTable = previous;
    for (int series : kAllSeries)
        firstTable = withPageValues(firstTable, 0, series);
    QTest::newRow("only the first table") << table(0, kAllSeries) << firstTable;

    OutlookValues holes = allPageValues();
    for (int k = 13; k <= 24; ++k)
        holes.setValue(k, 3, HoleValue);
    QTest::newRow("empty cells are holes") << fullPage([](int t, int series) {
        return t == 1 && series == 3 ? QStringList(12, u" \r\n<br>"_qs) : pageCells(t, series);
    }) << holes;

    OutlookValues notNumbers = allPageValues();
    for (int k = 1; k <= 12; ++k)
        notNumbers.setValue(k, 2, previous.value(k, 2));
    QTest::newRow("cells that are not numbers keep values") << fullPage([](int t, int series) {
        return t == 0 && series == 2 ? QStringList(12, u"&nbsp;"_qs) : pageCells(t, series);
    }) << notNumbers;

    OutlookValues missingRow = allPageValues();
    for (int k = 13; k <= 24; ++k)
        missingRow.setValue(k, 4, previous.value(k, 4));
    QTest::newRow("missing row keeps its values")
        << table(0, kAllSeries) + table(1, {1, 2, 3}) << missingRow;

    OutlookValues earlyKey = previous;
    for (int series : {1, 3, 4})
        earlyKey = withPageValues(earlyKey, 0, series);
    QTest::newRow("row key before the cursor is not found") << table(0, {2, 1, 3, 4}) << earlyKey;

    OutlookValues otherCase = allPageValues();
    for (int k = 1; k <= 24; ++k)
        otherCase.setValue(k, 3, previous.value(k, 3));
    QString lowerKeys = fullPage();
    lowerKeys.replace(u"Actual Demand"_qs, u"actual demand"_qs);
    QTest::newRow("row key in other letter case") << lowerKeys << otherCase;

    OutlookValues tagged = previous;
    tagged.setValue(1, 4, 12345);
    tagged.setValue(2, 4, 678);
    QTest::newRow("tags and blanks around a number")
        << u"<th>Available Resources</th><td class=\"n\">\r\n  <b>12,345</b>\r\n</td>"
           u"<td><font size=2>678 </font></td>"_qs
        << tagged;

    OutlookValues shortRow = previous;
    for (int k = 1; k <= 3; ++k)
        shortRow.setValue(k, 1, 10.0 * k);
    QTest::newRow("cells run out: nothing more is read")
        << u"Day-Ahead Demand Forecast<td>10</td><td>20</td><td>30</td>\r\n"
           u"Hour-Ahead Demand Forecast 40 50\r\nActual Demand"_qs
        << shortRow;

    OutlookValues unclosed = previous;
    for (int k = 1; k <= 4; ++k)
        unclosed.setValue(k, 1, 10.0 * k);
    QTest::newRow("cell without closing tag stops the reading")
        << u"Day-Ahead Demand Forecast<td>10</td><td>20</td><td>30</td><td>40</td><td>50\r\n"
           u"Hour-Ahead Demand Forecast<td>60<td>70\r\n"_qs +
               table(1, kAllSeries).remove(u"</td>"_qs)
        << unclosed;
}

void TestOutlookReader::read()
{
    check();
}

void TestOutlookReader::numbersFollowLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<double>("expected");
    QTest::newRow("en_US thousands") << u"en_US"_qs << u"31,456"_qs << 31456.0;
    QTest::newRow("en_US decimals") << u"en_US"_qs << u"1,234.5"_qs << 1234.5;
    QTest::newRow("en_US plain") << u"en_US"_qs << u"28000"_qs << 28000.0;
    QTest::newRow("de_DE thousands") << u"de_DE"_qs << u"31.456"_qs << 31456.0;
    QTest::newRow("de_DE decimals") << u"de_DE"_qs << u"1.234,5"_qs << 1234.5;
    QTest::newRow("de_DE comma is decimal") << u"de_DE"_qs << u"31,456"_qs << 31.456;
}

void TestOutlookReader::numbersFollowLocale()
{
    QFETCH(QString, locale);
    QFETCH(QString, cell);
    QFETCH(double, expected);
    const QString page = u"Actual Demand</td><td>"_qs + cell + u"</td>"_qs;
    const OutlookValues read = ReadOutlookPage(page, previousValues(), QLocale(locale));
    QCOMPARE(read.value(1, 3), expected);
    QCOMPARE(read.value(2, 3), previousValues().value(2, 3));
}

void TestOutlookReader::hostilePages_data()
{
    addColumns();
    constexpr qsizetype kMiB = 1024 * 1024;
    const OutlookValues previous = previousValues();
    QString keys;
    for (QStringView key : OutlookSeriesNames)
        keys += key;

    QTest::newRow("megabytes of lt") << QString(4 * kMiB, u'<') << previous;
    QTest::newRow("row keys then megabytes of unclosed cells")
        << keys + u"<td"_qs.repeated(kMiB) << previous;
    QTest::newRow("row keys, then a cell that never closes")
        << keys + u"<td>"_qs + QString(4 * kMiB, u'x') << previous;
    QTest::newRow("huge cell that is not a number")
        << keys + u"<td>"_qs + QString(4 * kMiB, u'9') + u"</td>"_qs << previous;

    // Series 1 reads the first twelve cells; the later keys lie behind the cursor.
    OutlookValues firstRowHoles = previous;
    for (int k = 1; k <= 12; ++k)
        firstRowHoles.setValue(k, 1, HoleValue);
    QTest::newRow("row keys then megabytes of empty cells")
        << keys + u"<td></td>"_qs.repeated(kMiB / 2) << firstRowHoles;

    QByteArray binary(2 * kMiB, '\0');
    for (qsizetype i = 0; i < binary.size(); ++i)
        binary[i] = char((i * 7919) % 251);
    QTest::newRow("binary") << QString::fromLatin1(binary) << previous;
}

void TestOutlookReader::hostilePages()
{
    check();
}

QTEST_GUILESS_MAIN(TestOutlookReader)
#include "test_outlook_reader.moc"
