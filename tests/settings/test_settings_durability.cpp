#include "settings_test_support.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QThread>

using namespace voltwise;

namespace {

constexpr int kKeys = 40;

struct Round
{
    bool consistent = false;
    qint64 round = -1;
};

// Parses the file on its own, with a fresh QSettings on a copy of a new
// name, and checks that every key holds the value of one and the same round.
Round CheckFile(const QString &path, const QString &prefix, const QString &scratch)
{
    static int copies = 0;
    const QString copy = scratch + u"/copy"_qs + QString::number(++copies) + u".conf"_qs;
    if (!WriteBytes(copy, ReadBytes(path)))
        return {};
    QSettings settings(copy, QSettings::IniFormat);
    const QStringList keys = settings.allKeys();
    if (settings.status() != QSettings::NoError)
        return {};
    QString value;
    for (int k = 0; k < kKeys; ++k) {
        const QString key = u"Settings/"_qs + prefix + QString::number(k);
        const QString found = settings.value(key).toString();
        if (found.isEmpty() || (k > 0 && found != value))
            return {};
        value = found;
    }
    if (!value.endsWith(QString(200, u'x')))
        return {};
    return {true, value.section(u':', 0, 0).toLongLong()};
}

QProcess *StartWriter(QObject *parent, const QString &configDir, const QString &prefix, int rounds,
                      const QString &tmp)
{
    auto *process = new QProcess(parent);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"TMPDIR"_qs, tmp); // scratch files of killed writers stay in the test's directory
    process->setProcessEnvironment(env);
    process->start(QString::fromUtf8(SETTINGS_WRITER),
                   {configDir, prefix, QString::number(kKeys), QString::number(rounds)});
    return process;
}

} // namespace

class TestSettingsDurability : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void killedWriterNeverLeavesADamagedFile();
    void concurrentWritersKeepEachOthersKeys();
};

void TestSettingsDurability::killedWriterNeverLeavesADamagedFile()
{
    TempRegistry reg;
    const QString tmp = reg.dir.filePath(u"tmp"_qs);
    QVERIFY(QDir().mkpath(tmp));
    const QString configDir = reg.dir.filePath(u"user"_qs);

    qint64 lastRound = -1;
    int advanced = 0;
    for (int attempt = 0; attempt < 40; ++attempt) {
        QProcess *writer = StartWriter(this, configDir, u"K"_qs, 0, tmp);
        QVERIFY(writer->waitForReadyRead(20000));
        QThread::usleep(QRandomGenerator::global()->bounded(1000, 40000));
        writer->kill();
        QVERIFY(writer->waitForFinished(10000));
        QCOMPARE(writer->exitStatus(), QProcess::CrashExit);
        delete writer;

        const Round found = CheckFile(reg.settingsFile(), u"K"_qs, tmp);
        QVERIFY2(found.consistent, qPrintable(u"attempt "_qs + QString::number(attempt)));
        if (found.round > 0)
            ++advanced;
        lastRound = found.round;
        QVERIFY(!QFile::exists(reg.settingsFile() + u".damaged"_qs));
    }
    // The kills did land while saves were going on.
    QVERIFY(advanced > 0);
    QVERIFY(lastRound >= 0);
}

void TestSettingsDurability::concurrentWritersKeepEachOthersKeys()
{
    TempRegistry reg;
    const QString tmp = reg.dir.filePath(u"tmp"_qs);
    QVERIFY(QDir().mkpath(tmp));
    const QString configDir = reg.dir.filePath(u"user"_qs);
    constexpr int kRounds = 150;

    QProcess *first = StartWriter(this, configDir, u"A"_qs, kRounds, tmp);
    QProcess *second = StartWriter(this, configDir, u"B"_qs, kRounds, tmp);
    for (QProcess *writer : {first, second}) {
        QVERIFY(writer->waitForFinished(60000));
        QCOMPARE(writer->exitStatus(), QProcess::NormalExit);
        QCOMPARE(writer->exitCode(), 0);
        delete writer;
    }
    for (const QString &prefix : {u"A"_qs, u"B"_qs}) {
        const Round found = CheckFile(reg.settingsFile(), prefix, tmp);
        QVERIFY(found.consistent);
        QCOMPARE(found.round, kRounds - 1);
    }
}

QTEST_GUILESS_MAIN(TestSettingsDurability)
#include "test_settings_durability.moc"
