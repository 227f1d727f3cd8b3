// The per-call cost of the readers' conversions: operator dates, the
// presented date and time, and today's five-minute demand file.
#include "core/conversions.h"
#include "feeds/demand_reader.h"

#include <QFile>

#include <benchmark/benchmark.h>

using namespace voltwise;

namespace {

void BM_TextToDate(benchmark::State &state, const QString &text)
{
    const QLocale locale = OperatorLocale();
    for (auto _ : state)
        benchmark::DoNotOptimize(TextToDate(text, locale));
}

void BM_FormatGeneralDate(benchmark::State &state)
{
    const QLocale locale(QLocale::German, QLocale::Germany);
    const OleDate date = OleDate::fromDateAndTime(QDate(2001, 9, 14), QTime(14, 30, 5));
    for (auto _ : state)
        benchmark::DoNotOptimize(FormatGeneralDate(date, locale));
}

QString Sample(const char *name)
{
    QFile file(QStringLiteral(VOLTWISE_SAMPLES "/") + QLatin1StringView(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", name);
    return QString::fromUtf8(file.readAll());
}

void BM_ReadDemandCsv(benchmark::State &state, const QString &text)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadDemandCsv(text, {}, std::nullopt));
    state.SetBytesProcessed(state.iterations() * text.size());
}

// The day's file with every row's time cell damaged ("14.30").
QString DamagedTimes()
{
    QString text = Sample("netdemand_history_20190310_spring-forward.csv");
    for (qsizetype at = text.indexOf(u"\n"); at >= 0 && at + 3 < text.size();
         at = text.indexOf(u'\n', at + 1))
        text[at + 3] = u'.';
    return text;
}

} // namespace

BENCHMARK_CAPTURE(BM_TextToDate, numeric, u"9/14/2001 14:25"_qs);
BENCHMARK_CAPTURE(BM_TextToDate, named_month, u"Sep 14 2001 14:30:05"_qs);
BENCHMARK_CAPTURE(BM_TextToDate, meridiem, u"9/14/2001 2:30 PM"_qs);
BENCHMARK(BM_FormatGeneralDate);
BENCHMARK_CAPTURE(BM_ReadDemandCsv, sample,
                  Sample("netdemand_history_20190310_spring-forward.csv"));
BENCHMARK_CAPTURE(BM_ReadDemandCsv, damaged_times, DamagedTimes());

BENCHMARK_MAIN();
