#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <memory>

// Runs the real voltwise-gridsim program, as scripts and end-to-end tests do.
class TestGridSimProcess : public QObject
{
    Q_OBJECT

private:
    static QString program()
    {
        return QCoreApplication::applicationDirPath() + u"/voltwise-gridsim"_qs;
    }

    QByteArray get(const QUrl &url, int *status)
    {
        std::unique_ptr<QNetworkReply> reply(m_nam.get(QNetworkRequest(url)));
        QSignalSpy finished(reply.get(), &QNetworkReply::finished);
        if (!reply->isFinished() && !finished.wait(10000))
            return {};
        *status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        return reply->readAll();
    }

    QNetworkAccessManager m_nam;

private Q_SLOTS:
    void servesUntilTerminated()
    {
        QProcess sim;
        sim.start(program(),
                  {u"--port"_qs, u"0"_qs, u"--scenario"_qs, u"walk"_qs, u"--advance-refreshes"_qs,
                   u"1"_qs, u"--fault"_qs, u"/awe/forecast.html=status:404"_qs});
        QVERIFY2(sim.waitForStarted(10000), qPrintable(sim.errorString()));
        QByteArray line;
        while (!line.contains('\n') && sim.waitForReadyRead(20000))
            line += sim.readAllStandardOutput();
        const QRegularExpressionMatch match =
            QRegularExpression(u"^listening on (http://127\\.0\\.0\\.1:(\\d+))\n$"_qs)
                .match(QString::fromLatin1(line));
        QVERIFY2(match.hasMatch(), line.constData());
        const QUrl base(match.captured(1));
        QVERIFY(match.captured(2).toInt() > 0);

        int status = 0;
        const QByteArray first = get(base.resolved(QUrl(u"/outlook/systemstatus.csv"_qs)), &status);
        QCOMPARE(status, 200);
        QVERIFY2(first.startsWith("PRODUCED,"), first.constData());
        QVERIFY(first.contains("\r\nSYSTEM STATUS,NORMAL,"));
        const QByteArray second =
            get(base.resolved(QUrl(u"/outlook/systemstatus.csv"_qs)), &status);
        QVERIFY(second.contains("\r\nSYSTEM STATUS,ALERT,"));
        const QByteArray forecast = get(base.resolved(QUrl(u"/awe/forecast.html"_qs)), &status);
        QCOMPARE(status, 404);
        QVERIFY(forecast.contains("404 Not Found"));

        sim.terminate();
        QVERIFY(sim.waitForFinished(20000));
        QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
        QCOMPARE(sim.exitCode(), 0);
        QCOMPARE(sim.readAllStandardOutput(), QByteArray());
    }

    void rejectsBadOptions_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("scenario") << QStringList{u"--scenario"_qs, u"sideways"_qs};
        QTest::newRow("port") << QStringList{u"--port"_qs, u"70000"_qs};
        QTest::newRow("refreshes") << QStringList{u"--advance-refreshes"_qs, u"-1"_qs};
        QTest::newRow("fault") << QStringList{u"--fault"_qs, u"/awe/forecast.html=bogus"_qs};
    }

    void rejectsBadOptions()
    {
        QFETCH(QStringList, arguments);
        QProcess sim;
        sim.start(program(), arguments);
        QVERIFY(sim.waitForFinished(20000));
        QCOMPARE(sim.exitCode(), 2);
        QVERIFY(sim.readAllStandardOutput().isEmpty());
        QVERIFY(!sim.readAllStandardError().isEmpty());
    }

    void helpNamesTheControlPaths()
    {
        QProcess sim;
        sim.start(program(), {u"--help"_qs});
        QVERIFY(sim.waitForFinished(20000));
        const QByteArray help = sim.readAllStandardOutput();
        for (const char *word : {"--advance-seconds", "--advance-refreshes", "--fault",
                                 "/_sim/advance", "/_sim/state", "oversize"})
            QVERIFY2(help.contains(word), word);
    }
};

QTEST_GUILESS_MAIN(TestGridSimProcess)
#include "tst_gridsim_process.moc"
