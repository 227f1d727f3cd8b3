#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// Each probe is an instance: "primary" (then "activated" per hand-over) or "handed over".
class TestSingleInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A killed instance leaves its lock and socket files behind: the next start
    // is the primary all the same, and a later one hands over to it.
    void secondStartHandsOverEvenAfterACrash()
    {
        auto crashed = start();
        QVERIFY(crashed->waitForReadyRead(30000));
        crashed->kill();
        QVERIFY(crashed->waitForFinished(30000));
        auto first = start();
        QVERIFY(first->waitForReadyRead(30000));
        QCOMPARE(first->readLine().trimmed(), QByteArray("primary"));
        auto second = start();
        QVERIFY(second->waitForFinished(30000));
        QCOMPARE(second->exitCode(), 0);
        QCOMPARE(second->readAllStandardOutput().trimmed(), QByteArray("handed over"));
        QTRY_VERIFY_WITH_TIMEOUT(first->canReadLine() || first->waitForReadyRead(100), 30000);
        QCOMPARE(first->readLine().trimmed(), QByteArray("activated"));
        first->kill();
        first->waitForFinished();
    }

private:
    std::unique_ptr<QProcess> start()
    {
        auto process = std::make_unique<QProcess>();
        process->start(QCoreApplication::applicationDirPath() + u"/single_instance_probe"_qs,
                       {m_runtime.path(), u"probe"_qs});
        return process;
    }

    QTemporaryDir m_runtime;
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "test_single_instance.moc"
