// Today's summary (JSON), read over a previous record and status words.
#include "core/conversions.h"
#include "feeds/feed_body.h"
#include "feeds/feed_texts.h"
#include "feeds/operator_words.h"
#include "feeds/stats_reader.h"
#include "fuzz_support.h"

using namespace voltwise;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView body(data, qsizetype(size));
    IsHtmlBody(body, "application/json");
    GridStatus previous;
    previous.Level = LevelAlert;
    const QStringList words{u"Flex Alert"_qs};
    QString problem;
    const QDateTime now(QDate(2022, 8, 31), QTime(13, 10));
    const auto summary = ReadStatsSummary(body, previous, words, now, &problem);
    if (!summary) {
        fuzz::Check(!problem.isEmpty(), "a refused summary says why");
        return 0;
    }
    fuzz::Check(summary->status.ForecastKind == previous.ForecastKind, "ForecastKind kept");
    LevelOfOperatorWords(summary->operatorStatus);
    OperatorStatusText(summary->operatorStatus);
    FeedNoticesTexts(summary->operatorStatus, std::nullopt, OperatorLocale());
    return 0;
}
