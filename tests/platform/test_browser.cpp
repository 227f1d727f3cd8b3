#include "platform/browser.h"
#include "platform/recording_browser_opener.h"

#include <QTest>

using namespace voltwise;

class TestBrowser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void prefixAndOpen_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("prefixed");
        QTest::addColumn<bool>("opened");
        const auto add = [](const char *name, const QString &url, const QString &prefixed,
                            bool opened) {
            QTest::newRow(name) << url << prefixed << opened;
        };
        add("capital scheme", u"HTTP://WWW.CAISO.COM/"_qs, u"HTTP://WWW.CAISO.COM/"_qs, true);
        add("secure, mixed case", u"hTtPs://x.example/reo/"_qs, u"hTtPs://x.example/reo/"_qs, true);
        add("bare host", u"www.pge.com/myhome/"_qs, u"http://www.pge.com/myhome/"_qs, true);
        add("empty", {}, u"http://"_qs, false);
        add("other scheme", u"ftp://x.example"_qs, u"http://ftp://x.example"_qs, true);
        add("blank before the scheme", u" http://x"_qs, u"http:// http://x"_qs, false);
        add("look-alike scheme", u"httpx://run.example"_qs, u"httpx://run.example"_qs, false);
        add("local program", u"http.exe"_qs, u"http.exe"_qs, false);
    }

    void prefixAndOpen()
    {
        QFETCH(QString, url);
        QFETCH(QString, prefixed);
        QFETCH(bool, opened);
        QCOMPARE(WithHttpPrefix(url), prefixed);
        RecordingBrowserOpener opener;
        QCOMPARE(OpenInBrowser(url, opener), opened);
        QCOMPARE(url, prefixed);
        QCOMPARE(opener.opened, opened ? QStringList{prefixed} : QStringList{});
        opener.accepts = false; // the desktop refuses
        QVERIFY(!OpenInBrowser(url, opener));
    }
};

QTEST_GUILESS_MAIN(TestBrowser)
#include "test_browser.moc"
