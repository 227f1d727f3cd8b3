#include "platform/browser.h"
#include "recording_browser_opener.h"

#include <QTest>

using namespace voltwise;

class TestBrowser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void withHttpPrefix_data();
    void withHttpPrefix();
    void openInBrowser_data();
    void openInBrowser();
};

void TestBrowser::withHttpPrefix_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("expected");
    QTest::newRow("capital scheme kept")
        << u"HTTP://WWW.CAISO.COM/"_qs << u"HTTP://WWW.CAISO.COM/"_qs;
    QTest::newRow("secure scheme kept") << u"https://www.sce.com"_qs << u"https://www.sce.com"_qs;
    QTest::newRow("mixed case secure kept") << u"hTtPs://x.example"_qs << u"hTtPs://x.example"_qs;
    QTest::newRow("bare host prefixed")
        << u"www.pge.com/myhome/"_qs << u"http://www.pge.com/myhome/"_qs;
    QTest::newRow("empty") << QString() << u"http://"_qs;
    QTest::newRow("other scheme prefixed") << u"ftp://x.example"_qs << u"http://ftp://x.example"_qs;
    QTest::newRow("blank before scheme prefixed") << u" http://x"_qs << u"http:// http://x"_qs;
}

void TestBrowser::withHttpPrefix()
{
    QFETCH(QString, url);
    QFETCH(QString, expected);
    QCOMPARE(WithHttpPrefix(url), expected);
}

void TestBrowser::openInBrowser_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<bool>("accepts");
    QTest::addColumn<QString>("changedUrl");
    QTest::addColumn<bool>("reachesOpener");
    QTest::addColumn<bool>("result");
    QTest::newRow("bare host") << u"www.caiso.com"_qs << true << u"http://www.caiso.com"_qs << true
                               << true;
    QTest::newRow("secure") << u"https://www.sdge.com/reo/"_qs << true
                            << u"https://www.sdge.com/reo/"_qs << true << true;
    QTest::newRow("desktop refuses")
        << u"http://www.sce.com"_qs << false << u"http://www.sce.com"_qs << true << false;
    QTest::newRow("empty") << QString() << true << u"http://"_qs << false << false;
    QTest::newRow("look-alike scheme")
        << u"httpx://run.example"_qs << true << u"httpx://run.example"_qs << false << false;
    QTest::newRow("local program") << u"http.exe"_qs << true << u"http.exe"_qs << false << false;
}

void TestBrowser::openInBrowser()
{
    QFETCH(QString, url);
    QFETCH(bool, accepts);
    QFETCH(QString, changedUrl);
    QFETCH(bool, reachesOpener);
    QFETCH(bool, result);

    RecordingBrowserOpener opener;
    opener.accepts = accepts;
    QCOMPARE(OpenInBrowser(url, opener), result);
    QCOMPARE(url, changedUrl);
    QCOMPARE(opener.opened, reachesOpener ? QStringList{changedUrl} : QStringList{});
}

QTEST_GUILESS_MAIN(TestBrowser)
#include "test_browser.moc"
