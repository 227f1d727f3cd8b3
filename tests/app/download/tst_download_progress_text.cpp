#include "app/download/download_channel.h"

#include <QTest>

using namespace voltwise;

class TestDownloadProgressText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void table_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<QString>("expected");

        const QString any = u"ignored"_qs;
        QTest::newRow("0 clears") << 0 << 7 << any << true << QString();
        QTest::newRow("1") << 1 << 0 << any << true << u"Resolving host..."_qs;
        QTest::newRow("2") << 2 << 0 << any << true << u"Host resolved"_qs;
        QTest::newRow("3") << 3 << 0 << any << true << u"Connecting..."_qs;
        QTest::newRow("4") << 4 << 0 << any << true << u"Connected"_qs;
        QTest::newRow("5") << 5 << 0 << any << true << u"Requesting..."_qs;
        QTest::newRow("6") << 6 << 0 << any << true << u"Request sent"_qs;
        QTest::newRow("7") << 7 << 0 << any << true << u"Receiving response..."_qs;
        QTest::newRow("8") << 8 << 0 << any << true << u"Response received"_qs;
        QTest::newRow("9") << 9 << 0 << any << true << u"Disconnecting..."_qs;
        QTest::newRow("10") << 10 << 0 << any << true << u"Disconnected"_qs;
        QTest::newRow("11 code and text")
            << 11 << 404 << u"Not Found"_qs << true << u"Error #404: Not Found"_qs;
        QTest::newRow("11 code 0 no text") << 11 << 0 << QString() << true << u"Error #0: "_qs;
        QTest::newRow("11 negative code") << 11 << -5 << u"x"_qs << true << u"Error #-5: x"_qs;
        QTest::newRow("11 text kept as is")
            << 11 << 1 << u"  refused "_qs << true << u"Error #1:   refused "_qs;
        QTest::newRow("12") << 12 << 0 << any << true << u"Response Completed"_qs;
        QTest::newRow("13 unknown") << 13 << 0 << any << false << QString();
        QTest::newRow("-1 unknown") << -1 << 0 << any << false << QString();
        QTest::newRow("65535 unknown") << 65535 << 0 << any << false << QString();
    }

    void table()
    {
        QFETCH(int, state);
        QFETCH(int, code);
        QFETCH(QString, text);
        QFETCH(bool, shown);
        QFETCH(QString, expected);

        const std::optional<QString> result = ProgressText(state, code, text);
        QCOMPARE(result.has_value(), shown);
        if (shown)
            QCOMPARE(*result, expected);
    }
};

QTEST_GUILESS_MAIN(TestDownloadProgressText)
#include "tst_download_progress_text.moc"
