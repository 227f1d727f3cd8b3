#include "bench_text.h"
#include "core/text_helpers.h"

#include <benchmark/benchmark.h>

using namespace voltwise;

namespace {

// Table rows and notice paragraphs like the operator's status page.
QString StatusPage(qsizetype size)
{
    const QStringList pieces = {
        u"<tr>\r\n  <td class=\"label\">Current System Demand:</td>\r\n"
        "  <td align=\"right\"><b>31,456</b> MW</td>\r\n</tr>\r\n"_qs,
        u"<tr><td>Available Resources:</td><td align=\"right\">35,000 MW</td></tr>\r\n"_qs,
        u"<p class=\"notice\"><font face=\"Arial\" size=\"2\">A Restricted Maintenance "
        "Operations notice is in effect from 09/14/2001 12:00 through 09/14/2001 "
        "18:00.<br>\r\nPlease conserve.</font></p>\r\n"_qs,
        u"<table border=\"0\" cellpadding=\"2\"><tr><td>&nbsp;</td></tr></table>\r\n"_qs,
    };
    return bench::RepeatToSize(pieces, size);
}

void Measure(benchmark::State &state, const QString &text)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(StripTags(text));
    state.SetBytesProcessed(state.iterations() * text.size());
}

void BM_StripTags_Page(benchmark::State &state)
{
    Measure(state, StatusPage(state.range(0)));
}

void BM_StripTags_OnlyOpenBrackets(benchmark::State &state)
{
    Measure(state, QString(state.range(0), u'<'));
}

} // namespace

BENCHMARK(BM_StripTags_Page)->RangeMultiplier(2)->Range(1 << 10, 4 << 20);
BENCHMARK(BM_StripTags_OnlyOpenBrackets)->RangeMultiplier(4)->Range(1 << 10, 4 << 20);

BENCHMARK_MAIN();
