#include "settings/registry_operations.h"
#include "settings_test_support.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QThread>

#include <memory>

namespace {

constexpr int kKeys = 40;

} // namespace

// Writers in processes of their own, killed or saving side by side. Their
// TMPDIR is a plain file: a save needs no temporary directory.
class TestSettingsDurability : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempRegistry> m_reg;
    int m_copies = 0;

    std::unique_ptr<QProcess> startWriter(const QString &prefix, int rounds)
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"TMPDIR"_qs, m_reg->dir.filePath(u"not-a-directory"_qs));
        process->setProcessEnvironment(env);
        process->start(QString::fromUtf8(SETTINGS_WRITER),
                       {m_reg->dir.filePath(u"user"_qs), prefix, QString::number(kKeys),
                        QString::number(rounds)});
        return process;
    }

    // The round every key of the prefix holds, read by a fresh QSettings from a
    // copy of a new name; -1 when the keys disagree or the file does not parse.
    qint64 consistentRound(const QString &prefix)
    {
        const QString copy = m_reg->dir.filePath(u"copies/%1.conf"_qs.arg(++m_copies));
        if (!WriteBytes(copy, ReadBytes(m_reg->settingsFile())))
            return -1;
        QSettings settings(copy, QSettings::IniFormat);
        QStringList values;
        for (int k = 0; k < kKeys; ++k)
            values << settings.value(u"Settings/"_qs + prefix + QString::number(k)).toString();
        if (settings.status() != QSettings::NoError || values.count(values.first()) != kKeys ||
            !values.first().endsWith(u':' + QString(200, u'x')))
            return -1;
        return values.first().section(u':', 0, 0).toLongLong();
    }

private Q_SLOTS:
    void init()
    {
        m_reg = std::make_unique<TempRegistry>();
        QVERIFY(WriteBytes(m_reg->dir.filePath(u"not-a-directory"_qs), "x"));
    }

    // Generous waits: on a busy machine a sanitized process can take seconds to start.
    void killedWriterNeverLeavesADamagedFile()
    {
        for (int attempt = 0; attempt < 40; ++attempt) {
            const auto writer = startWriter(u"K"_qs, 0);
            QVERIFY(writer->waitForReadyRead(60000));
            if (attempt == 0) // the saves after the first do replace the file
                QTRY_VERIFY_WITH_TIMEOUT(consistentRound(u"K"_qs) > 0, 60000);
            QThread::usleep(QRandomGenerator::global()->bounded(1000, 40000));
            writer->kill();
            QVERIFY(writer->waitForFinished(30000));
            QCOMPARE(writer->exitStatus(), QProcess::CrashExit);

            QVERIFY2(consistentRound(u"K"_qs) >= 0, qPrintable(u"attempt %1"_qs.arg(attempt)));
            QVERIFY(!QFile::exists(m_reg->settingsFile() + u".damaged"_qs));
        }
        // A killed save's copy beside the file goes with the next save.
        QVERIFY(SaveSetting(m_reg->store, {}, u"Settings"_qs, u"K0"_qs, u"x"_qs));
        QCOMPARE(QDir(m_reg->userFile(u"Ternwood"_qs)).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{u".Voltwise.conf.lock"_qs, u"Voltwise.conf"_qs}));
    }

    void concurrentWritersKeepEachOthersKeys()
    {
        constexpr int kRounds = 150;
        const auto first = startWriter(u"A"_qs, kRounds);
        const auto second = startWriter(u"B"_qs, kRounds);
        for (QProcess *writer : {first.get(), second.get()}) {
            QVERIFY(writer->waitForFinished(240000));
            QCOMPARE(writer->exitStatus(), QProcess::NormalExit);
            QCOMPARE(writer->exitCode(), 0);
        }
        QCOMPARE(consistentRound(u"A"_qs), kRounds - 1);
        QCOMPARE(consistentRound(u"B"_qs), kRounds - 1);
    }
};

QTEST_GUILESS_MAIN(TestSettingsDurability)
#include "test_settings_durability.moc"
