#include "bench_text.h"
#include "refresh/status_csv_reader.h"

#include <benchmark/benchmark.h>

using namespace voltwise;

namespace {

// The rows of one status file, Windows line ends, repeated.
QString StatusFile(qsizetype size)
{
    const QStringList pieces = {
        u"PRODUCED,Fri Sep 14 14:30:05 PDT 2001\r\n"_qs,
        u"ACTUAL DEMAND,31456,9/14/2001 14:25\r\n"_qs,
        u"AVAILABLE RESOURCES,35000,9/14/2001 14:20\r\n"_qs,
        u"PEAK DEMAND TODAY,32100\r\n"_qs,
        u"FORECAST PEAK DEMAND TODAY,33200\r\n"_qs,
        u"FORECAST PEAK DEMAND TOMORROW,34300\r\n"_qs,
        u"SYSTEM STATUS,STAGE 3 LOAD INTERRUPTIONS,9/14/2001 12:00,9/14/2001 18:00,"
        "100,200,300,400,500\r\n"_qs,
        u"48 HOUR FORECAST NOTICE,ACTIVE,9/15/2001 12:00,9/15/2001 20:00\r\n"_qs,
        u"1 HOUR FORECAST NOTICE,ACTIVE,9/14/2001 15:00,9/14/2001 16:00,1500\r\n"_qs,
    };
    return bench::RepeatToSize(pieces, size);
}

void Measure(benchmark::State &state, const QString &text)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadStatusCsv(text, {}));
    state.SetBytesProcessed(state.iterations() * text.size());
}

void BM_ReadStatusCsv_File(benchmark::State &state)
{
    Measure(state, StatusFile(state.range(0)));
}

void BM_ReadStatusCsv_OneLineOfCommas(benchmark::State &state)
{
    Measure(state, u"SYSTEM STATUS"_qs + QString(state.range(0), u','));
}

} // namespace

BENCHMARK(BM_ReadStatusCsv_File)->RangeMultiplier(2)->Range(1 << 10, 4 << 20);
BENCHMARK(BM_ReadStatusCsv_OneLineOfCommas)->RangeMultiplier(4)->Range(1 << 10, 4 << 20);

BENCHMARK_MAIN();
