#include "app/conversions.h"

#include <QTest>

#include <limits>

using namespace voltwise;

Q_DECLARE_METATYPE(voltwise::OleDate)

class TestConversions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void textToNumber_data();
    void textToNumber();
    void textToDate_data();
    void textToDate();
    void formatGeneralDate_data();
    void formatGeneralDate();
    void generalDateReadsBack_data();
    void generalDateReadsBack();
    void formatWholeNumber_data();
    void formatWholeNumber();
    void formatPlainNumber_data();
    void formatPlainNumber();
    void hostileTextIsRejected();
};

namespace {
const QString kEnglish = u"en_US"_qs;
const QString kGerman = u"de_DE"_qs;

OleDate at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return OleDate::fromDateAndTime(QDate(year, month, day), QTime(hour, minute, second));
}

OleDate timeOnly(int hour, int minute, int second = 0)
{
    return OleDate::fromDateAndTime({}, QTime(hour, minute, second));
}
} // namespace

void TestConversions::textToNumber_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("converts");
    QTest::addColumn<double>("expected");

    QTest::newRow("en plain") << kEnglish << u"31456"_qs << true << 31456.0;
    QTest::newRow("en blanks around") << kEnglish << u"  31456 \t"_qs << true << 31456.0;
    QTest::newRow("en decimal point") << kEnglish << u"31456.4"_qs << true << 31456.4;
    QTest::newRow("en grouping") << kEnglish << u"1,234,567.5"_qs << true << 1234567.5;
    QTest::newRow("en negative") << kEnglish << u"-250.25"_qs << true << -250.25;
    QTest::newRow("en decimal comma rejected") << kEnglish << u"31456,4"_qs << false << 0.0;
    QTest::newRow("de decimal comma") << kGerman << u"31456,4"_qs << true << 31456.4;
    QTest::newRow("de grouping") << kGerman << u"1.234.567,5"_qs << true << 1234567.5;
    QTest::newRow("de blanks around") << kGerman << u" 12,5 "_qs << true << 12.5;
    QTest::newRow("de decimal point rejected") << kGerman << u"31456.4"_qs << false << 0.0;
    QTest::newRow("empty") << kEnglish << QString() << false << 0.0;
    QTest::newRow("blanks only") << kEnglish << u"   "_qs << false << 0.0;
    QTest::newRow("word") << kEnglish << u"n/a"_qs << false << 0.0;
    QTest::newRow("trailing letters") << kEnglish << u"12MW"_qs << false << 0.0;
    QTest::newRow("blank inside") << kEnglish << u"12 34"_qs << false << 0.0;
    QTest::newRow("two points") << kEnglish << u"1.2.3"_qs << false << 0.0;
    QTest::newRow("misplaced grouping") << kEnglish << u"1,2,3"_qs << false << 0.0;
    QTest::newRow("overflow") << kEnglish << u"1e400"_qs << false << 0.0;
    QTest::newRow("nan") << kEnglish << u"nan"_qs << false << 0.0;
    QTest::newRow("infinity") << kEnglish << u"inf"_qs << false << 0.0;
}

void TestConversions::textToNumber()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(bool, converts);
    QFETCH(double, expected);

    const auto result = TextToNumber(text, QLocale(locale));
    QCOMPARE(result.has_value(), converts);
    if (converts)
        QCOMPARE(*result, expected);
}

void TestConversions::textToDate_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("converts");
    QTest::addColumn<OleDate>("expected");

    QTest::newRow("en date") << kEnglish << u"9/14/2001"_qs << true << at(2001, 9, 14);
    QTest::newRow("en month first") << kEnglish << u"3/4/2001"_qs << true << at(2001, 3, 4);
    QTest::newRow("de day first") << kGerman << u"3.4.2001"_qs << true << at(2001, 4, 3);
    QTest::newRow("C locale month first")
        << u"C"_qs << u"12/06/2026 09:45"_qs << true << at(2026, 12, 6, 9, 45);
    QTest::newRow("de date") << kGerman << u"14.09.2001"_qs << true << at(2001, 9, 14);
    QTest::newRow("en date and time")
        << kEnglish << u"9/14/2001 14:30"_qs << true << at(2001, 9, 14, 14, 30);
    QTest::newRow("de date and time")
        << kGerman << u"14.09.2001 14:30:05"_qs << true << at(2001, 9, 14, 14, 30, 5);
    QTest::newRow("en blanks around")
        << kEnglish << u"  9/14/2001 14:30  "_qs << true << at(2001, 9, 14, 14, 30);
    QTest::newRow("two-digit year, this century")
        << kEnglish << u"9/14/01"_qs << true << at(2001, 9, 14);
    QTest::newRow("two-digit year, last century")
        << kEnglish << u"1/2/45"_qs << true << at(1945, 1, 2);
    QTest::newRow("en day above 12 swaps")
        << kEnglish << u"14/9/2001"_qs << true << at(2001, 9, 14);
    QTest::newRow("en month name")
        << kEnglish << u"Sep 14 2001 14:30:00"_qs << true << at(2001, 9, 14, 14, 30);
    QTest::newRow("de English month name")
        << kGerman << u"SEP 14 2001 14:30:00"_qs << true << at(2001, 9, 14, 14, 30);
    QTest::newRow("full month name and comma")
        << kEnglish << u"September 14, 2001"_qs << true << at(2001, 9, 14);
    QTest::newRow("day before month name")
        << kEnglish << u"14 Sep 2001"_qs << true << at(2001, 9, 14);
    QTest::newRow("de own month name")
        << kGerman << u"14. Dezember 2001"_qs << true << at(2001, 12, 14);
    QTest::newRow("time alone") << kEnglish << u"14:30"_qs << true << timeOnly(14, 30);
    QTest::newRow("time alone with seconds")
        << kGerman << u"07:05:09"_qs << true << timeOnly(7, 5, 9);
    QTest::newRow("pm") << kEnglish << u"9/14/2001 2:30:00 PM"_qs << true
                        << at(2001, 9, 14, 14, 30);
    QTest::newRow("lower-case pm alone") << kEnglish << u"2:30 pm"_qs << true << timeOnly(14, 30);
    QTest::newRow("noon") << kEnglish << u"12:15 PM"_qs << true << timeOnly(12, 15);
    QTest::newRow("after midnight") << kEnglish << u"12:15 AM"_qs << true << timeOnly(0, 15);
    QTest::newRow("hour with meridiem only") << kEnglish << u"2 PM"_qs << true << timeOnly(14, 0);

    QTest::newRow("empty") << kEnglish << QString() << false << OleDate();
    QTest::newRow("word") << kEnglish << u"soon"_qs << false << OleDate();
    QTest::newRow("february 30") << kEnglish << u"2/30/2001"_qs << false << OleDate();
    QTest::newRow("month 13 either way") << kGerman << u"13.13.2001"_qs << false << OleDate();
    QTest::newRow("day 0") << kEnglish << u"9/0/2001"_qs << false << OleDate();
    QTest::newRow("no leap day") << kEnglish << u"2/29/2001"_qs << false << OleDate();
    QTest::newRow("hour 25") << kEnglish << u"25:00"_qs << false << OleDate();
    QTest::newRow("minute 60") << kEnglish << u"14:60"_qs << false << OleDate();
    QTest::newRow("second 60") << kEnglish << u"14:30:60"_qs << false << OleDate();
    QTest::newRow("13 pm") << kEnglish << u"13:00 PM"_qs << false << OleDate();
    QTest::newRow("0 am") << kEnglish << u"0:30 AM"_qs << false << OleDate();
    QTest::newRow("four numbers") << kEnglish << u"1/2/3/4"_qs << false << OleDate();
    QTest::newRow("trailing word") << kEnglish << u"9/14/2001 PDT"_qs << false << OleDate();
    QTest::newRow("arabic-indic digits")
        << kEnglish << u"\u0661\u0664:\u0663\u0660"_qs << false << OleDate();
    QTest::newRow("fullwidth digits")
        << kEnglish << u"\uff19/\uff11\uff14/2001"_qs << false << OleDate();
    QTest::newRow("number alone") << kEnglish << u"31456"_qs << false << OleDate();
}

void TestConversions::textToDate()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(bool, converts);
    QFETCH(OleDate, expected);

    const auto result = TextToDate(text, QLocale(locale));
    QCOMPARE(result.has_value(), converts);
    if (converts) {
        QCOMPARE(result->hasDatePart(), expected.hasDatePart());
        QCOMPARE(result->date(), expected.date());
        QCOMPARE(result->time(), expected.time());
    }
}

void TestConversions::formatGeneralDate_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<OleDate>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("en date and time")
        << kEnglish << at(2001, 9, 14, 14, 30) << u"9/14/2001 2:30:00 PM"_qs;
    QTest::newRow("en morning") << kEnglish << at(2001, 9, 4, 9, 5, 7) << u"9/4/2001 9:05:07 AM"_qs;
    QTest::newRow("en midnight") << kEnglish << at(2001, 9, 14) << u"9/14/2001"_qs;
    QTest::newRow("en zero") << kEnglish << OleDate() << u"12:00:00 AM"_qs;
    QTest::newRow("en time alone") << kEnglish << timeOnly(14, 30, 5) << u"2:30:05 PM"_qs;
    QTest::newRow("en before 1930 keeps four digits")
        << kEnglish << at(1925, 1, 2) << u"1/2/1925"_qs;
    QTest::newRow("de date and time")
        << kGerman << at(2001, 9, 14, 14, 30) << u"14.09.2001 14:30:00"_qs;
    QTest::newRow("de midnight") << kGerman << at(2001, 9, 4) << u"04.09.2001"_qs;
    QTest::newRow("de zero") << kGerman << OleDate() << u"00:00:00"_qs;
}

void TestConversions::formatGeneralDate()
{
    QFETCH(QString, locale);
    QFETCH(OleDate, value);
    QFETCH(QString, expected);
    QCOMPARE(FormatGeneralDate(value, QLocale(locale)), expected);
}

void TestConversions::generalDateReadsBack_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<OleDate>("value");

    for (const QString &locale : {kEnglish, kGerman}) {
        const QByteArray name = locale.toLatin1();
        QTest::addRow("%s afternoon", name.constData()) << locale << at(2001, 9, 14, 14, 30, 59);
        QTest::addRow("%s noon", name.constData()) << locale << at(2024, 2, 29, 12, 0, 1);
        QTest::addRow("%s just after midnight", name.constData())
            << locale << at(1999, 12, 31, 0, 0, 1);
        QTest::addRow("%s date alone", name.constData()) << locale << at(2030, 1, 31);
        QTest::addRow("%s time alone", name.constData()) << locale << timeOnly(23, 59, 59);
    }
}

void TestConversions::generalDateReadsBack()
{
    QFETCH(QString, locale);
    QFETCH(OleDate, value);

    const QString text = FormatGeneralDate(value, QLocale(locale));
    const auto back = TextToDate(text, QLocale(locale));
    QVERIFY2(back.has_value(), qPrintable(text));
    QCOMPARE(back->date(), value.date());
    QCOMPARE(back->time(), value.time());
}

void TestConversions::formatWholeNumber_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("en rounds down") << kEnglish << 31456.4 << u"31,456"_qs;
    QTest::newRow("en half rounds up") << kEnglish << 31456.5 << u"31,457"_qs;
    QTest::newRow("en even half rounds up") << kEnglish << 2.5 << u"3"_qs;
    QTest::newRow("en negative half away from zero") << kEnglish << -1234.5 << u"-1,235"_qs;
    QTest::newRow("en small negative is zero") << kEnglish << -0.4 << u"0"_qs;
    QTest::newRow("en zero") << kEnglish << 0.0 << u"0"_qs;
    QTest::newRow("en millions") << kEnglish << 1234567.89 << u"1,234,568"_qs;
    QTest::newRow("en below grouping") << kEnglish << 999.0 << u"999"_qs;
    QTest::newRow("de millions") << kGerman << 1234567.89 << u"1.234.568"_qs;
    QTest::newRow("de negative") << kGerman << -31456.5 << u"-31.457"_qs;
}

void TestConversions::formatWholeNumber()
{
    QFETCH(QString, locale);
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(FormatWholeNumber(value, QLocale(locale)), expected);
}

void TestConversions::formatPlainNumber_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("en fraction") << kEnglish << 31456.4 << u"31456.4"_qs;
    QTest::newRow("de fraction") << kGerman << 31456.4 << u"31456,4"_qs;
    QTest::newRow("en no grouping") << kEnglish << 1234567.0 << u"1234567"_qs;
    QTest::newRow("de no grouping") << kGerman << 1234567.25 << u"1234567,25"_qs;
    QTest::newRow("round hundred thousand") << kEnglish << 100000.0 << u"100000"_qs;
    QTest::newRow("small fraction") << kEnglish << 0.0001 << u"0.0001"_qs;
    QTest::newRow("negative") << kEnglish << -2.5 << u"-2.5"_qs;
    QTest::newRow("zero") << kEnglish << 0.0 << u"0"_qs;
    QTest::newRow("third keeps every digit") << kEnglish << 1.0 / 3 << u"0.3333333333333333"_qs;
}

void TestConversions::formatPlainNumber()
{
    QFETCH(QString, locale);
    QFETCH(double, value);
    QFETCH(QString, expected);

    const QLocale l(locale);
    const QString text = FormatPlainNumber(value, l);
    QCOMPARE(text, expected);
    const auto back = TextToNumber(text, l);
    QVERIFY(back);
    QCOMPARE(*back, value);
}

void TestConversions::hostileTextIsRejected()
{
    const QLocale english(kEnglish);
    const QString digits(1024 * 1024, u'9');
    QVERIFY(!TextToNumber(digits, english));
    QVERIFY(!TextToDate(digits, english));
    const QString separators = QString(u"1/"_qs).repeated(512 * 1024);
    QVERIFY(!TextToDate(separators, english));
    const QString replacement(4096, QChar::ReplacementCharacter);
    QVERIFY(!TextToNumber(replacement, english));
    QVERIFY(!TextToDate(replacement, english));
    QCOMPARE(FormatPlainNumber(std::numeric_limits<double>::max(), english),
             u"1.7976931348623157E+308"_qs);
}

QTEST_GUILESS_MAIN(TestConversions)
#include "test_conversions.moc"
