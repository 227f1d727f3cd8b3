#include "core/conversions.h"
#include "core/text_helpers.h"

#include <QTest>

#include <limits>

using namespace voltwise;

Q_DECLARE_METATYPE(voltwise::OleDate)

using Helper = QString (*)(QStringView);
Q_DECLARE_METATYPE(Helper)

namespace {
const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);
const QLocale kGerman(QLocale::German, QLocale::Germany);

// Year 0: the time alone.
OleDate At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return OleDate::fromDateAndTime(year ? QDate(year, month, day) : QDate(),
                                    QTime(hour, minute, second));
}

// An OLE date as `Read` gives it.
QString Iso(OleDate date)
{
    return (date.hasDatePart() ? u""_qs : u"time "_qs) + date.toDateTime().toString(Qt::ISODate);
}

// What a text reads as, by `TextToNumber` or `TextToDate`; "-" when it does not convert.
QString Read(bool number, const QString &text, const QLocale &locale)
{
    if (number) {
        const auto value = TextToNumber(text, locale);
        return value ? QString::number(*value, 'g', 17) : u"-"_qs;
    }
    const auto date = TextToDate(text, locale);
    return date ? Iso(*date) : u"-"_qs;
}
} // namespace

class TestConversions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reads_data()
    {
        QTest::addColumn<bool>("number");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, bool number, const QLocale &locale,
                            const QString &text, const QString &expected = u"-"_qs) {
            QTest::newRow(name) << number << locale << text << expected;
        };
        row("en grouping", true, kEnglish, u"1,234,567.5"_qs, u"1234567.5"_qs);
        row("de grouping", true, kGerman, u"1.234.567,5"_qs, u"1234567.5"_qs);
        row("en decimal comma", true, kEnglish, u"31456,4"_qs);
        row("de decimal point", true, kGerman, u"31456.4"_qs);
        row("trailing letters", true, kEnglish, u"12MW"_qs);
        row("misplaced grouping", true, kEnglish, u"1,2,3"_qs);
        row("a megabyte of digits", true, kEnglish, QString(1024 * 1024, u'9'));

        row("en month first", false, kEnglish, u"3/4/2001"_qs, Iso(At(2001, 3, 4)));
        row("de day first", false, kGerman, u"3.4.2001"_qs, Iso(At(2001, 4, 3)));
        row("en day above 12 swaps", false, kEnglish, u"14/9/2001"_qs, Iso(At(2001, 9, 14)));
        row("de own month name", false, kGerman, u"14. Dezember 2001"_qs, Iso(At(2001, 12, 14)));
        row("time alone", false, kGerman, u"07:05:09"_qs, Iso(At(0, 0, 0, 7, 5, 9)));
        row("after midnight", false, kEnglish, u"12:15 AM"_qs, Iso(At(0, 0, 0, 0, 15)));
        row("empty", false, kEnglish, QString());
        row("no leap day", false, kEnglish, u"2/29/2001"_qs);
        row("hour 25", false, kEnglish, u"25:00"_qs);
        row("trailing word", false, kEnglish, u"9/14/2001 PDT"_qs);
        row("fullwidth digits", false, kEnglish, u"\uff19/\uff11\uff14/2001"_qs);
    }

    void reads()
    {
        QFETCH(bool, number);
        QFETCH(QLocale, locale);
        QFETCH(QString, text);
        QTEST(Read(number, text, locale), "expected");
    }

    // What is written reads back as the same value; whole numbers round half away from zero.
    void writes_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QVariant>("value"); // an OleDate or a double
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("whole"); // of a number; null: not written whole

        const auto date = [](const char *name, const QLocale &locale, OleDate value,
                             const QString &expected) {
            QTest::newRow(name) << locale << QVariant::fromValue(value) << expected << QString();
        };
        date("en pm", kEnglish, At(2001, 9, 14, 14, 30, 59), u"9/14/2001 2:30:59 PM"_qs);
        date("en midnight", kEnglish, At(2001, 9, 14), u"9/14/2001"_qs);
        date("en zero", kEnglish, OleDate(), u"12:00:00 AM"_qs);
        date("de", kGerman, At(2001, 9, 4, 14, 30), u"04.09.2001 14:30:00"_qs);
        QTest::newRow("en") << kEnglish << QVariant(31456.4) << u"31456.4"_qs << u"31,456"_qs;
        QTest::newRow("de") << kGerman << QVariant(1234567.5) << u"1234567,5"_qs << u"1.234.568"_qs;
        QTest::newRow("negative half")
            << kEnglish << QVariant(-1234.5) << u"-1234.5"_qs << u"-1,235"_qs;
        QTest::newRow("largest") << kEnglish << QVariant(std::numeric_limits<double>::max())
                                 << u"1.7976931348623157E+308"_qs << QString();
    }

    void writes()
    {
        QFETCH(QLocale, locale);
        QFETCH(QVariant, value);
        QFETCH(QString, whole);
        const bool number = value.typeId() == QMetaType::Double;
        const QString written = number ? FormatPlainNumber(value.toDouble(), locale)
                                       : FormatGeneralDate(value.value<OleDate>(), locale);
        QTEST(written, "expected");
        QCOMPARE(Read(number, written, locale),
                 number ? QString::number(value.toDouble(), 'g', 17) : Iso(value.value<OleDate>()));
        if (!whole.isNull())
            QCOMPARE(FormatWholeNumber(value.toDouble(), locale), whole);
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
        add("trim: blanks exposed late stay", TrimLineBreaks, u" \r\n x \r\n "_qs, u" x "_qs);
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
