#include "platform/data_files.h"
#include "platform/sound_player.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSoundEffect>
#include <QTemporaryDir>
#include <QTest>

using namespace voltwise;

namespace {
void createFile(const QString &path, const QByteArray &content)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}
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
            createFile(prefix.filePath(file), "RIFF");
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

    void playerNeverBlocks_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("attempted");
        QTest::newRow("missing file") << u"missing.wav"_qs << false;
        QTest::newRow("a folder") << u"folder.wav"_qs << false;
        QTest::newRow("not a wave file") << u"garbage.wav"_qs << true;
        QTest::newRow("the chime") << DataFilePath(u"notice.wav"_qs) << true;
    }

    void playerNeverBlocks()
    {
        QFETCH(QString, file);
        QFETCH(bool, attempted);
        QTemporaryDir dir;
        createFile(dir.filePath(u"garbage.wav"_qs), QByteArray(4096, '\x7f'));
        QVERIFY(QDir(dir.path()).mkdir(u"folder.wav"_qs));
        WaveSoundPlayer player;
        QElapsedTimer clock;
        clock.start();
        player.PlayWave(QDir(dir.path()).filePath(file));
        QVERIFY(clock.elapsed() < 800); // the length of the chime
        // Nothing at all is played for a file that is not there: no fallback.
        QCOMPARE(player.findChildren<QSoundEffect *>().size(), attempted ? 1 : 0);
        QTest::qWait(300);
    }

    void soundsReplaceEachOther()
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
};

QTEST_GUILESS_MAIN(TestSound)
#include "test_sound.moc"
