#include "pages/text_helpers.h"

#include <QTest>

using namespace voltwise;

class TestTextHelpers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stripTags_data();
    void stripTags();
    void trimLineBreaks_data();
    void trimLineBreaks();
    void cutAtNul_data();
    void cutAtNul();
    void hostileInputStaysLinear();
};

void TestTextHelpers::stripTags_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("tags and blanks only") << u"<p> <b>\r\n</b>\t<i>"_qs << QString();
    QTest::newRow("leading blanks kept, blanks after tag dropped")
        << u"  one<b>two</b>  three"_qs << u"  onetwothree"_qs;
    QTest::newRow("blank before tag kept") << u"one <b>two</b>"_qs << u"one two"_qs;
    QTest::newRow("adjacent cells run together") << u"<td>a</td> <td>b</td>"_qs << u"ab"_qs;
    QTest::newRow("blank inside cell after text survives") << u"<td>a </td>"_qs << u"a "_qs;
    QTest::newRow("gt after copied char is copied") << u"a>b"_qs << u"a>b"_qs;
    QTest::newRow("gt after tag dropped like blank") << u"<b>>x"_qs << u"x"_qs;
    QTest::newRow("lone lt ends text") << u"x < y"_qs << u"x "_qs;
    QTest::newRow("unclosed tag swallows rest") << u"keep<a href"_qs << u"keep"_qs;
    QTest::newRow("line break tag joins words") << u"one<br>\r\ntwo"_qs << u"onetwo"_qs;
    QTest::newRow("entities not decoded") << u"A &amp; B"_qs << u"A &amp; B"_qs;
    QTest::newRow("inner line breaks kept")
        << u"<pre>\r\nline 1\r\nline 2</pre>"_qs << u"line 1\r\nline 2"_qs;
}

void TestTextHelpers::stripTags()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QCOMPARE(StripTags(input), expected);
}

void TestTextHelpers::trimLineBreaks_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("number between line breaks") << u"\r\n31456\r\n"_qs << u"31456"_qs;
    QTest::newRow("tab kept") << u"\t7"_qs << u"\t7"_qs;
    QTest::newRow("blank exposed at end stays") << u" \r\nx \r\n "_qs << u"x "_qs;
    QTest::newRow("blank exposed at start stays") << u"\r\n x"_qs << u" x"_qs;
    QTest::newRow("only blanks and breaks") << u" \r\n\n "_qs << QString();
    QTest::newRow("blank between breaks survives") << u"\r\n \n"_qs << u" "_qs;
    QTest::newRow("inner break kept") << u"a\r\nb"_qs << u"a\r\nb"_qs;
}

void TestTextHelpers::trimLineBreaks()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QCOMPARE(TrimLineBreaks(input), expected);
}

void TestTextHelpers::cutAtNul_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no nul") << u"True"_qs << u"True"_qs;
    QTest::newRow("nul inside") << QString(u"Tr\0ue"_qs) << u"Tr"_qs;
    QTest::newRow("leading nul") << QString(QChar(u'\0')) << QString();
}

void TestTextHelpers::cutAtNul()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QCOMPARE(CutAtNul(input), expected);
}

void TestTextHelpers::hostileInputStaysLinear()
{
    // Megabytes of "<" or of text must not blow up time or memory.
    const QString angles(4 * 1024 * 1024, u'<');
    QCOMPARE(StripTags(angles), QString());
    const QString words = QString(u"x "_qs).repeated(2 * 1024 * 1024);
    QCOMPARE(StripTags(words).size(), words.size());
}

QTEST_GUILESS_MAIN(TestTextHelpers)
#include "test_text_helpers.moc"
