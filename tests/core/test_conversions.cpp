#include "core/conversions.h"
#include "core/text_helpers.h"

#include <QTest>

#include <limits>

using namespace voltwise;

Q_DECLARE_METATYPE(voltwise::OleDate)
Q_DECLARE_METATYPE(std::optional<double>)

using Helper = QString (*)(QStringView);
Q_DECLARE_METATYPE(Helper)

namespace {
const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);
const QLocale kGerman(QLocale::German, QLocale::Germany);

OleDate at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return OleDate::fromDateAndTime(QDate(year, month, day), QTime(hour, minute, second));
}

OleDate timeOnly(int hour, int minute, int second = 0)
{
    return OleDate::fromDateAndTime({}, QTime(hour, minute, second));
}

const OleDate kNoDate{-1}; // marks text that must not convert
} // namespace

class TestConversions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void textToNumber_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<double>>("expected");

        const std::optional<double> no;
        QTest::newRow("en grouping") << kEnglish << u"1,234,567.5"_qs << std::optional(1234567.5);
        QTest::newRow("de grouping") << kGerman << u"1.234.567,5"_qs << std::optional(1234567.5);
        QTest::newRow("en decimal comma") << kEnglish << u"31456,4"_qs << no;
        QTest::newRow("de decimal point") << kGerman << u"31456.4"_qs << no;
        QTest::newRow("trailing letters") << kEnglish << u"12MW"_qs << no;
        QTest::newRow("misplaced grouping") << kEnglish << u"1,2,3"_qs << no;
        QTest::newRow("a megabyte of digits") << kEnglish << QString(1024 * 1024, u'9') << no;
    }

    void textToNumber()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, text);
        QTEST(TextToNumber(text, locale), "expected");
    }

    void textToDate_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<OleDate>("expected");

        QTest::newRow("en month first") << kEnglish << u"3/4/2001"_qs << at(2001, 3, 4);
        QTest::newRow("de day first") << kGerman << u"3.4.2001"_qs << at(2001, 4, 3);
        QTest::newRow("en day above 12 swaps") << kEnglish << u"14/9/2001"_qs << at(2001, 9, 14);
        QTest::newRow("de own month name")
            << kGerman << u"14. Dezember 2001"_qs << at(2001, 12, 14);
        QTest::newRow("time alone") << kGerman << u"07:05:09"_qs << timeOnly(7, 5, 9);
        QTest::newRow("after midnight") << kEnglish << u"12:15 AM"_qs << timeOnly(0, 15);

        QTest::newRow("empty") << kEnglish << QString() << kNoDate;
        QTest::newRow("no leap day") << kEnglish << u"2/29/2001"_qs << kNoDate;
        QTest::newRow("hour 25") << kEnglish << u"25:00"_qs << kNoDate;
        QTest::newRow("trailing word") << kEnglish << u"9/14/2001 PDT"_qs << kNoDate;
        QTest::newRow("fullwidth digits") << kEnglish << u"\uff19/\uff11\uff14/2001"_qs << kNoDate;
    }

    void textToDate()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, text);
        QFETCH(OleDate, expected);

        const auto result = TextToDate(text, locale);
        QCOMPARE(result.has_value(), expected != kNoDate);
        if (result) {
            QCOMPARE(result->hasDatePart(), expected.hasDatePart());
            QCOMPARE(result->toDateTime(), expected.toDateTime());
        }
    }

    // What is written reads back as the same value.
    void formatGeneralDate_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<OleDate>("value");
        QTest::addColumn<QString>("expected");

        QTest::newRow("en pm") << kEnglish << at(2001, 9, 14, 14, 30, 59)
                               << u"9/14/2001 2:30:59 PM"_qs;
        QTest::newRow("en midnight") << kEnglish << at(2001, 9, 14) << u"9/14/2001"_qs;
        QTest::newRow("en zero") << kEnglish << OleDate() << u"12:00:00 AM"_qs;
        QTest::newRow("de") << kGerman << at(2001, 9, 4, 14, 30) << u"04.09.2001 14:30:00"_qs;
    }

    void formatGeneralDate()
    {
        QFETCH(QLocale, locale);
        QFETCH(OleDate, value);
        QFETCH(QString, expected);

        QCOMPARE(FormatGeneralDate(value, locale), expected);
        const auto back = TextToDate(expected, locale);
        QVERIFY(back.has_value());
        QCOMPARE(back->toDateTime(), value.toDateTime());
    }

    // Whole numbers round half away from zero; plain numbers read back exactly.
    void formatNumber_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("whole");
        QTest::addColumn<QString>("plain");

        QTest::newRow("en") << kEnglish << 31456.4 << u"31,456"_qs << u"31456.4"_qs;
        QTest::newRow("de") << kGerman << 1234567.5 << u"1.234.568"_qs << u"1234567,5"_qs;
        QTest::newRow("negative half") << kEnglish << -1234.5 << u"-1,235"_qs << u"-1234.5"_qs;
        QTest::newRow("largest") << kEnglish << std::numeric_limits<double>::max() << QString()
                                 << u"1.7976931348623157E+308"_qs;
    }

    void formatNumber()
    {
        QFETCH(QLocale, locale);
        QFETCH(double, value);
        QFETCH(QString, whole);
        QFETCH(QString, plain);

        if (!whole.isNull())
            QCOMPARE(FormatWholeNumber(value, locale), whole);
        QCOMPARE(FormatPlainNumber(value, locale), plain);
        QCOMPARE(TextToNumber(plain, locale), std::optional(value));
    }

    void helpers_data()
    {
        QTest::addColumn<Helper>("helper");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        const auto add = [](const char *name, Helper helper, const QString &input,
                            const QString &expected) {
            QTest::newRow(name) << helper << input << expected;
        };
        add("strip: tags and blanks only", StripTags, u"<p> <b>\r\n</b>\t<i>"_qs, {});
        add("strip: blanks after a tag dropped, others kept", StripTags,
            u"  one<b>two</b>  three <i>x"_qs, u"  onetwothree x"_qs);
        add("strip: lone lt ends the text", StripTags, u"x < y"_qs, u"x "_qs);
        add("strip: unclosed tag", StripTags, u"keep<a href"_qs, u"keep"_qs);
        add("strip: inner line breaks kept", StripTags, u"<pre>\r\nline 1\r\nline 2</pre>"_qs,
            u"line 1\r\nline 2"_qs);
        add("trim: number between breaks", TrimLineBreaks, u"\r\n31456\r\n"_qs, u"31456"_qs);
        add("trim: blanks exposed late stay", TrimLineBreaks, u" \r\n x \r\n "_qs, u" x "_qs);
        add("cut: nul inside", CutAtNul, QString(u"Tr\0ue"_qs), u"Tr"_qs);
    }

    void helpers()
    {
        QFETCH(Helper, helper);
        QFETCH(QString, input);
        QTEST(helper(input), "expected");
    }
};

QTEST_GUILESS_MAIN(TestConversions)
#include "test_conversions.moc"
