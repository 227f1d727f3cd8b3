#include "platform/data_files.h"
#include "platform/sound_player.h"
#include "support/files.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace voltwise;

namespace {

// Stands for the audio device: what the player asked it to do.
class RecordingWaveOutput final : public WaveOutput
{
public:
    explicit RecordingWaveOutput(QStringList &requests)
        : m_requests(requests)
    {}
    void play(const QString &absolutePath) override { m_requests << absolutePath; }
    void stop() override { m_requests << u"silence"_qs; }

private:
    QStringList &m_requests;
};
} // namespace

class TestSound : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dataFilePath_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("expected");
        const QString beside = u"bin/notice.wav"_qs;
        const QString installed = u"share/voltwise/notice.wav"_qs;
        const QString xdg1 = u"xdg1/voltwise/notice.wav"_qs;
        const QString xdg2 = u"xdg2/voltwise/notice.wav"_qs;
        QTest::newRow("beside the program") << QStringList{beside} << beside;
        QTest::newRow("installed") << QStringList{installed} << installed;
        QTest::newRow("beside wins") << QStringList{installed, beside} << beside;
        QTest::newRow("installed before XDG") << QStringList{xdg1, installed} << installed;
        QTest::newRow("XDG in order") << QStringList{xdg2, xdg1} << xdg1;
        QTest::newRow("last XDG") << QStringList{xdg2} << xdg2;
        QTest::newRow("nowhere") << QStringList{u"share/notice.wav"_qs} << beside;
    }

    void dataFilePath()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, expected);
        QTemporaryDir prefix;
        QVERIFY(QDir(prefix.path()).mkpath(u"bin"_qs));
        for (const QString &file : files)
            QVERIFY(testing::WriteBytes(prefix.filePath(file), "RIFF"));
        const QStringList xdg{prefix.filePath(u"xdg1"_qs), prefix.filePath(u"xdg2"_qs)};
        QCOMPARE(DataFilePath(u"notice.wav"_qs, prefix.filePath(u"bin"_qs), xdg),
                 prefix.filePath(expected));
    }

    // The build puts the chime, a PCM wave, beside the program.
    void builtProgramHasTheChime()
    {
        QFile file(QCoreApplication::applicationDirPath() + u"/notice.wav"_qs);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray head = file.read(22);
        QCOMPARE(head.first(4) + head.sliced(8), QByteArray("RIFFWAVEfmt \x10\0\0\0\1\0", 18));
        QVERIFY(file.size() < 100000);
    }

    // The player hands readable files to the audio device, which copes with
    // ones that are not wave files; anything else silences the sound playing.
    void playerAsksForReadableFiles_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("asked");
        const QString silence = u"silence"_qs;
        QTest::newRow("the chime") << QStringList{u"chime.wav"_qs} << QStringList{u"chime.wav"_qs};
        QTest::newRow("not a wave file")
            << QStringList{u"garbage.wav"_qs} << QStringList{u"garbage.wav"_qs};
        QTest::newRow("missing file") << QStringList{u"missing.wav"_qs} << QStringList{silence};
        QTest::newRow("a folder") << QStringList{u"folder.wav"_qs} << QStringList{silence};
        QTest::newRow("each sound replaces the last")
            << QStringList{u"chime.wav"_qs, u"missing.wav"_qs, u"chime.wav"_qs}
            << QStringList{u"chime.wav"_qs, silence, u"chime.wav"_qs};
    }

    void playerAsksForReadableFiles()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, asked);
        QTemporaryDir dir;
        QVERIFY(QFile::copy(DataFilePath(u"notice.wav"_qs), dir.filePath(u"chime.wav"_qs)));
        QVERIFY(testing::WriteBytes(dir.filePath(u"garbage.wav"_qs), QByteArray(4096, '\x7f')));
        QVERIFY(QDir(dir.path()).mkdir(u"folder.wav"_qs));
        QStringList requests;
        WaveSoundPlayer player(std::make_unique<RecordingWaveOutput>(requests));
        for (const QString &file : files)
            player.PlayWave(dir.filePath(file));
        for (QString &path : asked)
            path = path == u"silence"_qs ? path : dir.filePath(path);
        QCOMPARE(requests, asked);
    }
};

QTEST_GUILESS_MAIN(TestSound)
#include "test_sound.moc"
