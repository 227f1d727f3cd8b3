#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

class TestSingleInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void secondStartHandsOverToFirst();
    void simultaneousStartsLeaveOnePrimary_data();
    void simultaneousStartsLeaveOnePrimary();
    void deadInstanceDoesNotBlockNextStart();

private:
    std::unique_ptr<QProcess> startProbe(const QString &lifetimeMs = u"20000"_qs);
    QTemporaryDir m_runtime;
    QString m_probe = QCoreApplication::applicationDirPath() + u"/single_instance_probe"_qs;
};

std::unique_ptr<QProcess> TestSingleInstance::startProbe(const QString &lifetimeMs)
{
    auto process = std::make_unique<QProcess>();
    process->start(m_probe, {m_runtime.path(), u"probe"_qs, lifetimeMs});
    return process;
}

void TestSingleInstance::secondStartHandsOverToFirst()
{
    auto first = startProbe();
    QVERIFY(first->waitForReadyRead(10000));
    QCOMPARE(first->readLine().trimmed(), QByteArray("primary"));

    auto second = startProbe();
    QVERIFY(second->waitForFinished(10000));
    QCOMPARE(second->exitCode(), 0);
    QCOMPARE(second->readAllStandardOutput().trimmed(), QByteArray("handed over"));

    QTRY_VERIFY_WITH_TIMEOUT(first->canReadLine() || first->waitForReadyRead(100), 5000);
    QCOMPARE(first->readLine().trimmed(), QByteArray("activated"));
    first->kill();
    first->waitForFinished();
}

void TestSingleInstance::simultaneousStartsLeaveOnePrimary_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("two") << 2;
    QTest::newRow("four") << 4;
}

void TestSingleInstance::simultaneousStartsLeaveOnePrimary()
{
    QFETCH(int, count);
    QTemporaryDir runtime;
    std::vector<std::unique_ptr<QProcess>> probes;
    for (int i = 0; i < count; ++i) {
        probes.push_back(std::make_unique<QProcess>());
        probes.back()->start(m_probe, {runtime.path(), u"race"_qs, u"3000"_qs});
    }
    int primaries = 0;
    int handedOver = 0;
    for (auto &probe : probes) {
        QVERIFY(probe->waitForFinished(15000));
        const QByteArray out = probe->readAllStandardOutput();
        primaries += out.startsWith("primary") ? 1 : 0;
        handedOver += out.startsWith("handed over") ? 1 : 0;
    }
    QCOMPARE(primaries, 1);
    QCOMPARE(handedOver, count - 1);
}

void TestSingleInstance::deadInstanceDoesNotBlockNextStart()
{
    QTemporaryDir runtime;
    QProcess crashed;
    crashed.start(m_probe, {runtime.path(), u"dead"_qs});
    QVERIFY(crashed.waitForReadyRead(10000));
    crashed.kill(); // leaves its lock and socket files behind
    QVERIFY(crashed.waitForFinished());

    QProcess next;
    next.start(m_probe, {runtime.path(), u"dead"_qs, u"100"_qs});
    QVERIFY(next.waitForFinished(10000));
    QVERIFY(next.readAllStandardOutput().startsWith("primary"));
}

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "test_single_instance.moc"
