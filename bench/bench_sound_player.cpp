#include "platform/data_files.h"
#include "platform/late_wave_output.h"
#include "platform/sound_player.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace voltwise;

namespace {

// How long the alert waits for its sound to start: PlayWave must return at
// once (far below the chime's 800 ms), with or without a sound server,
// whatever the file holds. Each sound loads the audio module, as chimes that
// come minutes apart do, each after the last one's module has gone.
void Measure(benchmark::State &state, const QString &path)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto player =
            std::make_unique<WaveSoundPlayer>(std::make_unique<LateWaveOutput>(&LoadAudioModule));
        state.ResumeTiming();
        player->PlayWave(path);
        state.PauseTiming();
        player.reset(); // unloads the module
        QCoreApplication::processEvents();
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
    QCoreApplication app(argc, argv); // the program's folder and the sound's end need it
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
