#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>
#include <vector>

// Each probe is one program instance: it prints "primary" or "handed over",
// and as the primary "activated" on each hand-over.
class TestSingleInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void secondStartHandsOverToFirst()
    {
        auto first = start(u"probe"_qs);
        QVERIFY(first->waitForReadyRead(10000));
        QCOMPARE(first->readLine().trimmed(), QByteArray("primary"));
        auto second = start(u"probe"_qs);
        QVERIFY(second->waitForFinished(10000));
        QCOMPARE(second->exitCode(), 0);
        QCOMPARE(second->readAllStandardOutput().trimmed(), QByteArray("handed over"));
        QTRY_VERIFY_WITH_TIMEOUT(first->canReadLine() || first->waitForReadyRead(100), 5000);
        QCOMPARE(first->readLine().trimmed(), QByteArray("activated"));
        first->kill();
        first->waitForFinished();
    }

    void simultaneousStartsLeaveOnePrimary()
    {
        std::vector<std::unique_ptr<QProcess>> probes;
        for (int i = 0; i < 4; ++i)
            probes.push_back(start(u"race"_qs, u"3000"_qs));
        QByteArrayList outputs;
        for (auto &probe : probes) {
            QVERIFY(probe->waitForFinished(15000));
            outputs << probe->readAllStandardOutput().split('\n').first();
        }
        std::sort(outputs.begin(), outputs.end());
        QCOMPARE(outputs, (QByteArrayList{"handed over", "handed over", "handed over", "primary"}));
    }

    void deadInstanceDoesNotBlockNextStart()
    {
        auto crashed = start(u"dead"_qs);
        QVERIFY(crashed->waitForReadyRead(10000));
        crashed->kill(); // leaves its lock and socket files behind
        QVERIFY(crashed->waitForFinished());
        auto next = start(u"dead"_qs, u"100"_qs);
        QVERIFY(next->waitForFinished(10000));
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
