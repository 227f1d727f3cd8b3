#include "pages/forecast_reader.h"
#include "pages/notices_reader.h"
#include "pages/page_sections.h"

#include <QTest>

using namespace voltwise;

namespace {
const QString kNoActive = u"No active notices are being issued at this time."_qs;
const QString kNoPending = u"No pending notices are being issued at this time."_qs;
const NoticesTexts kPrevious{u"previous notices"_qs, u"previous table"_qs};
const QString kForecastHeading = u"Current Active Forecast(s): \r\n\r\n"_qs;
const QString kNoForecast =
    kForecastHeading + u"No forecasts of load reductions are being issued at this time."_qs;

QString noticesText(const QString &active = kNoActive, const QString &pending = kNoPending)
{
    return u"Current Active Notice(s): \r\n\r\n"_qs + active +
           u"\r\n\r\nPending Notices: \r\n\r\n"_qs + pending;
}
} // namespace

// The readers of the status page and of the forecast page.
class TestPageReaders : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void notices_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("notices");
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
            QTest::newRow(name) << page << notices << table;
        };

        add("empty page keeps both", {}, kPrevious.NoticesText, kept);
        add("404 anywhere keeps both", table + active + u"<p>404 Not Found</p>"_qs + pending,
            kPrevious.NoticesText, kept);
        add("404 in other letter case is read", table + u"404 not found"_qs, none, tableText);
        add("whole page", table + active + pending, both, tableText);
        add("pending before active", pending + active + table, both, tableText);
        add("no table: notices still rebuilt", active,
            noticesText(u"\r\nFlex Alert 16:00-21:00\r\n  Conserve power."_qs), kept);
        add("table never closed", u"ISO System Status<TABLE><TD>A</TD></table>"_qs, none, kept);
        add("lower-case table tag", u"ISO System Status<table><TD>A</TD></TABLE>"_qs, none, kept);
        add("table before its title", u"<TABLE><TD>A</TD></TABLE>ISO System Status"_qs, none, kept);
        add("title in other letter case", u"ISO SYSTEM STATUS<TABLE><TD>A</TD></TABLE>"_qs, none,
            kept);
        add("table of tags only", u"ISO System Status<TABLE><TR><TD></TD></TR></TABLE>"_qs, none,
            QString());
        add("empty sections", u"Current Active Notice(s)<pre></pre>Pending Notices<pre></pre>"_qs,
            none, kept);
        add("tags-only sections",
            u"Current Active Notice(s)<pre><b></b></pre>Pending Notices<pre><br>\r\n </pre>"_qs,
            noticesText({}, {}), kept);
        add("headings in other letter case",
            u"current active notice(s)<pre>A</pre>PENDING NOTICES<pre>B</pre>"_qs, none, kept);
        add("pre in capitals", u"Current Active Notice(s)<PRE>A</PRE>"_qs, none, kept);
        add("pre never closed", u"Current Active Notice(s)<pre>A"_qs, none, kept);
    }

    void notices()
    {
        QFETCH(QString, page);
        QFETCH(QString, notices);
        QFETCH(QString, table);
        QCOMPARE(ReadNoticesPage(page, kPrevious), (NoticesTexts{notices, table}));
    }

    void forecast_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("expected");
        const QString previous = u"previous forecasts"_qs;
        const QString &heading = kForecastHeading;
        // Sections are found as on the status page; the shared rules are tested there.
        const QString section = u"<h3>Current Active Forecast(s)</h3>\r\n<pre>\r\n<b>1-Hour "
                                u"Notice</b>: 300  MW\r\n</pre>"_qs;
        QTest::newRow("empty page") << QString() << previous;
        QTest::newRow("404 anywhere") << section + u"<!-- 404 Not Found -->"_qs << previous;
        QTest::newRow("binary body") << section + QChar(u'\0') << previous;
        QTest::newRow("line breaks and inner blanks kept")
            << section << heading + u"\r\n1-Hour Notice: 300  MW\r\n"_qs;
        QTest::newRow("no heading") << u"<pre>300 MW</pre>"_qs << kNoForecast;
        QTest::newRow("pre before the heading")
            << u"<pre>old</pre>Current Active Forecast(s)<pre>new</pre>"_qs << heading + u"new"_qs;
    }

    void forecast()
    {
        QFETCH(QString, page);
        QFETCH(QString, expected);
        QCOMPARE(ReadForecastPage(page, u"previous forecasts"_qs), expected);
    }

    void hostilePage()
    {
        constexpr qsizetype kMiB = 1024 * 1024;
        const QString page = u"ISO System Status"_qs + u"<TABLE"_qs.repeated(kMiB) +
                             u"Current Active Notice(s)<pre>"_qs.repeated(kMiB / 8) +
                             u"Current Active Forecast(s)<pre>"_qs.repeated(kMiB / 8);
        QCOMPARE(ReadForecastPage(page, {}), kNoForecast);
        QCOMPARE(ReadNoticesPage(page, kPrevious),
                 (NoticesTexts{noticesText(), u"previous table"_qs}));
    }

    void shownTextCapped()
    {
        const QString fits(kShownTextMaxLength, u'x');
        QCOMPARE(CapShownText(fits), fits);
        const QString cut = CapShownText(fits + u'y');
        QVERIFY(cut.startsWith(fits));
        QVERIFY(cut.sliced(fits.size()).startsWith(u"\r\n\r\n[The rest of this text is not shown"));
    }
};

QTEST_GUILESS_MAIN(TestPageReaders)
#include "test_page_readers.moc"
