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
    const QString m_program = QCoreApplication::applicationDirPath() + u"/voltwise-gridsim"_qs;
    QNetworkAccessManager m_nam;

    QByteArray get(const QUrl &base, const QString &path, int *status)
    {
        std::unique_ptr<QNetworkReply> reply(m_nam.get(QNetworkRequest(base.resolved(QUrl(path)))));
        QSignalSpy finished(reply.get(), &QNetworkReply::finished);
        if (!reply->isFinished() && !finished.wait(10000))
            return {};
        *status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        return reply->readAll();
    }

private Q_SLOTS:
    void servesUntilTerminated()
    {
        QProcess sim;
        sim.start(m_program,
                  {u"--port"_qs, u"0"_qs, u"--scenario"_qs, u"walk"_qs, u"--advance-refreshes"_qs,
                   u"1"_qs, u"--fault"_qs, u"/awe/forecast.html=status:404"_qs});
        QVERIFY2(sim.waitForStarted(10000), qPrintable(sim.errorString()));
        QByteArray line;
        while (!line.contains('\n') && sim.waitForReadyRead(20000))
            line += sim.readAllStandardOutput();
        const QRegularExpressionMatch match =
            QRegularExpression(u"^listening on (http://127\\.0\\.0\\.1:[1-9]\\d*)\n$"_qs)
                .match(QString::fromLatin1(line));
        QVERIFY2(match.hasMatch(), line.constData());
        const QUrl base(match.captured(1));

        int status = 0;
        const QByteArray first = get(base, u"/outlook/systemstatus.csv"_qs, &status);
        QCOMPARE(status, 200);
        QVERIFY2(first.startsWith("PRODUCED,"), first.constData());
        QVERIFY(first.contains("\r\nSYSTEM STATUS,NORMAL,"));
        QVERIFY(get(base, u"/outlook/systemstatus.csv"_qs, &status)
                    .contains("\r\nSYSTEM STATUS,ALERT,"));
        QVERIFY(get(base, u"/awe/forecast.html"_qs, &status).contains("404 Not Found"));
        QCOMPARE(status, 404);

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
        QTest::newRow("fault") << QStringList{u"--fault"_qs, u"/awe/forecast.html=bogus"_qs};
    }

    void rejectsBadOptions()
    {
        QFETCH(QStringList, arguments);
        QProcess sim;
        sim.start(m_program, arguments);
        QVERIFY(sim.waitForFinished(20000));
        QCOMPARE(sim.exitCode(), 2);
        QVERIFY(sim.readAllStandardOutput().isEmpty());
        QVERIFY(!sim.readAllStandardError().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestGridSimProcess)
#include "tst_gridsim_process.moc"
