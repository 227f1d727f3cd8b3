#include "platform/chime_process_output.h"
#include "platform/data_files.h"
#include "platform/sound_player.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace voltwise;

namespace {

// How long the alert waits for its sound to start: PlayWave must return at
// once (far below the chime's 800 ms), with or without a sound server,
// whatever the file holds. Each sound starts the chime program and ends the
// one before, as a status that changes twice in a row does.
void Measure(benchmark::State &state, const QString &path)
{
    WaveSoundPlayer player(std::make_unique<ChimeProcessOutput>(
        ChimeProgramPath(QCoreApplication::applicationDirPath())));
    for (auto _ : state) {
        player.PlayWave(path);
        state.PauseTiming();
        // The ended chimes go.
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}

void BM_PlayWave_Chime(benchmark::State &state)
{
    Measure(state, DataFilePath(u"notice.wav"_qs));
}

void BM_PlayWave_NotAWaveFile(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"garbage.wav"_qs);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(QByteArray(4096, '\x7f')) != 4096) {
        state.SkipWithError("cannot write the garbage file");
        return;
    }
    file.close();
    Measure(state, path);
}

void BM_PlayWave_MissingFile(benchmark::State &state)
{
    Measure(state, u"/nonexistent/notice.wav"_qs);
}

} // namespace

BENCHMARK(BM_PlayWave_Chime)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlayWave_NotAWaveFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlayWave_MissingFile)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv); // the program's folder and the chimes' ends need it
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
