#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// Each probe is an instance: "primary" (then "activated" per hand-over) or "handed over".
class TestSingleInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void secondStartHandsOverToFirst()
    {
        auto first = start(u"probe"_qs);
        QVERIFY(first->waitForReadyRead(30000));
        QCOMPARE(first->readLine().trimmed(), QByteArray("primary"));
        auto second = start(u"probe"_qs);
        QVERIFY(second->waitForFinished(30000));
        QCOMPARE(second->exitCode(), 0);
        QCOMPARE(second->readAllStandardOutput().trimmed(), QByteArray("handed over"));
        QTRY_VERIFY_WITH_TIMEOUT(first->canReadLine() || first->waitForReadyRead(100), 5000);
        QCOMPARE(first->readLine().trimmed(), QByteArray("activated"));
        first->kill();
        first->waitForFinished();
    }

    void deadInstanceDoesNotBlockNextStart()
    {
        auto crashed = start(u"dead"_qs);
        QVERIFY(crashed->waitForReadyRead(30000));
        crashed->kill(); // leaves its lock and socket files behind
        QVERIFY(crashed->waitForFinished());
        auto next = start(u"dead"_qs, u"100"_qs);
        QVERIFY(next->waitForFinished(30000));
        QCOMPARE(next->readAllStandardOutput().trimmed(), QByteArray("primary"));
    }

private:
    std::unique_ptr<QProcess> start(const QString &key, const QString &lifetimeMs = u"20000"_qs)
    {
        auto process = std::make_unique<QProcess>();
        process->start(QCoreApplication::applicationDirPath() + u"/single_instance_probe"_qs,
                       {m_runtime.path(), key, lifetimeMs});
        return process;
    }

    QTemporaryDir m_runtime;
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "test_single_instance.moc"
