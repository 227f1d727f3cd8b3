#include "platform/data_files.h"
#include "platform/sound_player.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSoundEffect>
#include <QTemporaryDir>
#include <QTest>

using namespace voltwise;

namespace {

constexpr int kChimeMilliseconds = 800;

void createFile(const QString &path, const QByteArray &content)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

quint32 littleEndian(const QByteArray &bytes, qsizetype at, int size)
{
    quint32 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | quint8(bytes.at(at + i));
    return value;
}

} // namespace

class TestSound : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dataFilePath_data();
    void dataFilePath();
    void builtProgramHasTheChime();
    void playerNeverBlocks_data();
    void playerNeverBlocks();
    void soundsReplaceEachOther();
};

void TestSound::dataFilePath_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("expected");
    QTest::newRow("beside the program")
        << QStringList{u"bin/notice.wav"_qs} << u"bin/notice.wav"_qs;
    QTest::newRow("installed") << QStringList{u"share/voltwise/notice.wav"_qs}
                               << u"share/voltwise/notice.wav"_qs;
    QTest::newRow("beside wins") << QStringList{u"bin/notice.wav"_qs,
                                                u"share/voltwise/notice.wav"_qs}
                                 << u"bin/notice.wav"_qs;
    QTest::newRow("nowhere") << QStringList{u"share/notice.wav"_qs} << u"bin/notice.wav"_qs;
}

void TestSound::dataFilePath()
{
    QFETCH(QStringList, files);
    QFETCH(QString, expected);
    QTemporaryDir prefix;
    QVERIFY(prefix.isValid());
    QVERIFY(QDir(prefix.path()).mkpath(u"bin"_qs));
    for (const QString &file : files)
        createFile(prefix.filePath(file), "RIFF");
    QCOMPARE(DataFilePath(u"notice.wav"_qs, prefix.filePath(u"bin"_qs)), prefix.filePath(expected));
}

void TestSound::builtProgramHasTheChime()
{
    const QString path = DataFilePath(u"notice.wav"_qs);
    QCOMPARE(QFileInfo(path).absolutePath(), QCoreApplication::applicationDirPath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray wav = file.readAll();
    QVERIFY(wav.size() > 44);
    QCOMPARE(wav.first(4), QByteArray("RIFF"));
    QCOMPARE(wav.sliced(8, 8), QByteArray("WAVEfmt "));
    QCOMPARE(littleEndian(wav, 20, 2), 1u);     // PCM
    QCOMPARE(littleEndian(wav, 22, 2), 1u);     // mono
    QCOMPARE(littleEndian(wav, 24, 4), 22050u); // samples per second
    QCOMPARE(littleEndian(wav, 34, 2), 16u);    // bits per sample
    const qsizetype dataAt = wav.indexOf("data", 36);
    QVERIFY(dataAt > 0);
    const quint32 dataBytes = littleEndian(wav, dataAt + 4, 4);
    QVERIFY(dataBytes > 0);
    QVERIFY(dataBytes < 22050u * 2);
}

void TestSound::playerNeverBlocks_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("attempted");
    QTest::newRow("missing file") << u"missing.wav"_qs << false;
    QTest::newRow("a folder") << u"folder.wav"_qs << false;
    QTest::newRow("not a wave file") << u"garbage.wav"_qs << true;
    QTest::newRow("the chime") << DataFilePath(u"notice.wav"_qs) << true;
}

void TestSound::playerNeverBlocks()
{
    QFETCH(QString, file);
    QFETCH(bool, attempted);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    createFile(dir.filePath(u"garbage.wav"_qs), QByteArray(4096, '\x7f'));
    QVERIFY(QDir(dir.path()).mkdir(u"folder.wav"_qs));

    WaveSoundPlayer player;
    QElapsedTimer clock;
    clock.start();
    player.PlayWave(QDir(dir.path()).filePath(file));
    // Playing synchronously would take at least the length of the chime.
    QVERIFY(clock.elapsed() < kChimeMilliseconds);
    // Nothing at all is played for a file that is not there: no fallback.
    QCOMPARE(player.findChildren<QSoundEffect *>().size(), attempted ? 1 : 0);
    QTest::qWait(300);
}

void TestSound::soundsReplaceEachOther()
{
    WaveSoundPlayer player;
    const QString chime = DataFilePath(u"notice.wav"_qs);
    player.PlayWave(chime);
    player.PlayWave(chime);
    QTest::qWait(50);
    player.PlayWave(u"/nonexistent/notice.wav"_qs);
    player.PlayWave(chime);
    QTest::qWait(100);
    QCOMPARE(player.findChildren<QSoundEffect *>().size(), 1);
    player.PlayWave(u"/nonexistent/notice.wav"_qs);
    QTest::qWait(10);
    QVERIFY(player.findChildren<QSoundEffect *>().isEmpty());
}

QTEST_GUILESS_MAIN(TestSound)
#include "test_sound.moc"
