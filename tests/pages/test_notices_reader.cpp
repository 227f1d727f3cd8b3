#include "pages/notices_reader.h"

#include <QTest>

using namespace voltwise;

namespace {

const QString kNoActive = u"No active notices are being issued at this time."_qs;
const QString kNoPending = u"No pending notices are being issued at this time."_qs;

QString noticesText(const QString &active, const QString &pending)
{
    return u"Current Active Notice(s): \r\n\r\n"_qs + active +
           u"\r\n\r\nPending Notices: \r\n\r\n"_qs + pending;
}

const QString kTable = u"<h2>ISO System Status</h2>\r\n<TABLE border=1>\r\n<TR><TD>Current "
                       u"System Conditions</TD><TD> Normal</TD></TR>\r\n</TABLE>"_qs;
const QString kTableText = u"Current System ConditionsNormal"_qs;

const NoticesTexts kPrevious{u"previous notices"_qs, u"previous table"_qs};

} // namespace

class TestNoticesReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void layoutLineByLine();
    void read_data();
    void read();
    void hostilePages_data();
    void hostilePages();
};

void TestNoticesReader::layoutLineByLine()
{
    const NoticesTexts read = ReadNoticesPage(kTable, {});
    QCOMPARE(read.NoticesText.split(u"\r\n"_qs),
             QStringList({u"Current Active Notice(s): "_qs, QString(), kNoActive, QString(),
                          u"Pending Notices: "_qs, QString(), kNoPending}));
    QCOMPARE(read.StatusTableText, kTableText);
}

void TestNoticesReader::read_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("notices");
    QTest::addColumn<QString>("table");

    const QString active = u"Current Active Notice(s)<br>\r\n<pre>\r\nFlex Alert 16:00-21:00\r\n"
                           u"  Conserve power.</pre>"_qs;
    const QString pending = u"<b>Pending Notices</b><pre><b>RMO</b>: tomorrow</pre>"_qs;

    QTest::newRow("empty page keeps both")
        << QString() << kPrevious.NoticesText << kPrevious.StatusTableText;
    QTest::newRow("404 anywhere keeps both")
        << kTable + active + u"<p>404 Not Found</p>"_qs + pending << kPrevious.NoticesText
        << kPrevious.StatusTableText;
    QTest::newRow("404 in other letter case is read")
        << kTable + u"404 not found"_qs << noticesText(kNoActive, kNoPending) << kTableText;
    QTest::newRow("whole page") << kTable + active + pending
                                << noticesText(
                                       u"\r\nFlex Alert 16:00-21:00\r\n  Conserve power."_qs,
                                       u"RMO: tomorrow"_qs)
                                << kTableText;
    QTest::newRow("pending before active")
        << pending + active + kTable
        << noticesText(u"\r\nFlex Alert 16:00-21:00\r\n  Conserve power."_qs, u"RMO: tomorrow"_qs)
        << kTableText;
    QTest::newRow("no table: notices still rebuilt")
        << active << noticesText(u"\r\nFlex Alert 16:00-21:00\r\n  Conserve power."_qs, kNoPending)
        << kPrevious.StatusTableText;
    QTest::newRow("table without closing tag")
        << u"ISO System Status<TABLE><TR><TD>Alert</TD></TR></table>"_qs
        << noticesText(kNoActive, kNoPending) << kPrevious.StatusTableText;
    QTest::newRow("lower-case table tag")
        << u"ISO System Status<table><TR><TD>Alert</TD></TR></TABLE>"_qs
        << noticesText(kNoActive, kNoPending) << kPrevious.StatusTableText;
    QTest::newRow("table before its title is not found")
        << u"<TABLE><TR><TD>Alert</TD></TR></TABLE>ISO System Status"_qs
        << noticesText(kNoActive, kNoPending) << kPrevious.StatusTableText;
    QTest::newRow("title in other letter case")
        << u"ISO SYSTEM STATUS<TABLE><TR><TD>Alert</TD></TR></TABLE>"_qs
        << noticesText(kNoActive, kNoPending) << kPrevious.StatusTableText;
    QTest::newRow("table tags only gives empty table")
        << u"ISO System Status<TABLE><TR><TD></TD></TR></TABLE>"_qs
        << noticesText(kNoActive, kNoPending) << QString();
    QTest::newRow("empty sections give the sentences")
        << u"Current Active Notice(s)<pre></pre>Pending Notices<pre></pre>"_qs
        << noticesText(kNoActive, kNoPending) << kPrevious.StatusTableText;
    QTest::newRow("tags-only bodies are empty, not sentences")
        << u"Current Active Notice(s)<pre><b></b></pre>Pending Notices<pre><br>\r\n </pre>"_qs
        << noticesText(QString(), QString()) << kPrevious.StatusTableText;
    QTest::newRow("headings in other letter case")
        << u"current active notice(s)<pre>A</pre>PENDING NOTICES<pre>B</pre>"_qs
        << noticesText(kNoActive, kNoPending) << kPrevious.StatusTableText;
    QTest::newRow("pre tag in capitals is not found")
        << u"Current Active Notice(s)<PRE>A</PRE>"_qs << noticesText(kNoActive, kNoPending)
        << kPrevious.StatusTableText;
    QTest::newRow("heading with text but no pre")
        << u"Current Active Notice(s): none today. Pending Notices: none"_qs
        << noticesText(kNoActive, kNoPending) << kPrevious.StatusTableText;
    QTest::newRow("pre never closed")
        << u"Current Active Notice(s)<pre>A"_qs << noticesText(kNoActive, kNoPending)
        << kPrevious.StatusTableText;
    QTest::newRow("entities stay as written")
        << u"Pending Notices<pre>PG&amp;E &lt;zone&gt;</pre>"_qs
        << noticesText(kNoActive, u"PG&amp;E &lt;zone&gt;"_qs) << kPrevious.StatusTableText;
}

void TestNoticesReader::read()
{
    QFETCH(QString, page);
    QFETCH(QString, notices);
    QFETCH(QString, table);
    const NoticesTexts read = ReadNoticesPage(page, kPrevious);
    QCOMPARE(read.NoticesText, notices);
    QCOMPARE(read.StatusTableText, table);
}

void TestNoticesReader::hostilePages_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("table");
    constexpr qsizetype kMiB = 1024 * 1024;
    QTest::newRow("megabytes of lt") << QString(4 * kMiB, u'<') << kPrevious.StatusTableText;
    QTest::newRow("megabytes of open tables")
        << u"ISO System Status"_qs + u"<TABLE"_qs.repeated(kMiB) << kPrevious.StatusTableText;
    QTest::newRow("megabytes of headings and pre")
        << (u"Current Active Notice(s)<pre>"_qs).repeated(kMiB / 8) << kPrevious.StatusTableText;
    QTest::newRow("one huge table")
        << u"ISO System Status<TABLE>"_qs + QString(4 * kMiB, u'x') + u"</TABLE>"_qs
        << QString(4 * kMiB, u'x');
    QByteArray binary(2 * kMiB, '\0');
    for (qsizetype i = 0; i < binary.size(); ++i)
        binary[i] = char((i * 7919) % 251);
    QTest::newRow("binary") << QString::fromLatin1(binary) << kPrevious.StatusTableText;
}

void TestNoticesReader::hostilePages()
{
    QFETCH(QString, page);
    QFETCH(QString, table);
    const NoticesTexts read = ReadNoticesPage(page, kPrevious);
    QCOMPARE(read.StatusTableText, table);
    QVERIFY(read.NoticesText.startsWith(u"Current Active Notice(s): "_qs));
}

QTEST_GUILESS_MAIN(TestNoticesReader)
#include "test_notices_reader.moc"
