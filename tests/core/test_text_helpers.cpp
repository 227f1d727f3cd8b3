#include "core/text_helpers.h"

#include <QTest>

using namespace voltwise;

using Helper = QString (*)(QStringView);
Q_DECLARE_METATYPE(Helper)

class TestTextHelpers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
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
        add("strip: cells run together", StripTags, u"<td>a</td> <td>b </td>"_qs, u"ab "_qs);
        add("strip: gt after text is text", StripTags, u"a>b"_qs, u"a>b"_qs);
        add("strip: gt after a tag dropped", StripTags, u"<b>>x"_qs, u"x"_qs);
        add("strip: lone lt ends the text", StripTags, u"x < y"_qs, u"x "_qs);
        add("strip: unclosed tag", StripTags, u"keep<a href"_qs, u"keep"_qs);
        add("strip: entities not decoded", StripTags, u"A &amp; B"_qs, u"A &amp; B"_qs);
        add("strip: inner line breaks kept", StripTags, u"<pre>\r\nline 1\r\nline 2</pre>"_qs,
            u"line 1\r\nline 2"_qs);
        add("trim: number between breaks", TrimLineBreaks, u"\r\n31456\r\n"_qs, u"31456"_qs);
        add("trim: tab kept", TrimLineBreaks, u"\t7"_qs, u"\t7"_qs);
        add("trim: blanks exposed late stay", TrimLineBreaks, u" \r\n x \r\n "_qs, u" x "_qs);
        add("trim: blank between breaks", TrimLineBreaks, u"\r\n \n"_qs, u" "_qs);
        add("trim: inner break kept", TrimLineBreaks, u"a\r\nb"_qs, u"a\r\nb"_qs);
        add("cut: no nul", CutAtNul, u"True"_qs, u"True"_qs);
        add("cut: nul inside", CutAtNul, QString(u"Tr\0ue"_qs), u"Tr"_qs);
        add("cut: leading nul", CutAtNul, QString(QChar(u'\0')), {});
    }

    void helpers()
    {
        QFETCH(Helper, helper);
        QFETCH(QString, input);
        QFETCH(QString, expected);
        QCOMPARE(helper(input), expected);
    }

    void hostileInputStaysLinear() { QVERIFY(StripTags(QString(4 * 1024 * 1024, u'<')).isEmpty()); }
};

QTEST_GUILESS_MAIN(TestTextHelpers)
#include "test_text_helpers.moc"
