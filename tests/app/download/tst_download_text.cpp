#include "app/download/download_channel.h"

#include <QTest>

using namespace voltwise;

class TestDownloadText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decodesByCharset_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<QString>("expected");

        QTest::newRow("no content type: UTF-8")
            << QByteArray("caf\xc3\xa9") << QByteArray() << u"caf\u00e9"_qs;
        QTest::newRow("no charset: UTF-8")
            << QByteArray("caf\xc3\xa9") << QByteArray("text/html") << u"caf\u00e9"_qs;
        QTest::newRow("latin-1") << QByteArray("caf\xe9")
                                 << QByteArray("text/html; charset=ISO-8859-1") << u"caf\u00e9"_qs;
        QTest::newRow("latin-1 label, windows-1252 quotes")
            << QByteArray("\x93hi\x94") << QByteArray("text/html; charset=iso-8859-1")
            << u"\u201chi\u201d"_qs;
        QTest::newRow("windows-1252 euro")
            << QByteArray("\x80 5") << QByteArray("text/plain; charset=windows-1252")
            << u"\u20ac 5"_qs;
        QTest::newRow("windows-1252 unassigned byte")
            << QByteArray("\x81") << QByteArray("text/plain; charset=cp1252") << u"\u0081"_qs;
        QTest::newRow("quoted, mixed case, not first")
            << QByteArray("caf\xe9") << QByteArray("TEXT/HTML; level=1; Charset=\"Latin1\"")
            << u"caf\u00e9"_qs;
        QTest::newRow("us-ascii high byte")
            << QByteArray("\xe9") << QByteArray("text/plain; charset=us-ascii") << u"\u00e9"_qs;
        QTest::newRow("utf-8 declared") << QByteArray("\xe2\x82\xac")
                                        << QByteArray("text/plain; charset=utf-8") << u"\u20ac"_qs;
        QTest::newRow("invalid utf-8 replaced")
            << QByteArray("a\xff"
                          "b")
            << QByteArray("text/plain; charset=utf-8") << u"a\ufffdb"_qs;
        QTest::newRow("unknown charset: UTF-8")
            << QByteArray("caf\xc3\xa9") << QByteArray("text/plain; charset=x-unknown")
            << u"caf\u00e9"_qs;
        QTest::newRow("charset word in another parameter")
            << QByteArray("caf\xc3\xa9") << QByteArray("text/plain; xcharset=latin1")
            << u"caf\u00e9"_qs;
        QTest::newRow("empty body")
            << QByteArray() << QByteArray("text/html; charset=latin1") << QString();
    }

    void decodesByCharset()
    {
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, contentType);
        QFETCH(QString, expected);

        DownloadResult result;
        result.ok = true;
        result.httpStatus = 200;
        result.body = body;
        result.contentType = contentType;
        QCOMPARE(result.text(), expected);
    }
};

QTEST_GUILESS_MAIN(TestDownloadText)
#include "tst_download_text.moc"
