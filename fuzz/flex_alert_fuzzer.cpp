// The Flex Alert service's answer (JSON or XML), and the texts made of it.
#include "core/conversions.h"
#include "feeds/feed_texts.h"
#include "feeds/flex_alert_reader.h"
#include "fuzz_support.h"

using namespace voltwise;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QString problem;
    const QDateTime now(QDate(2021, 6, 11), QTime(10, 0));
    const auto events = ReadFlexAlertEvents(QByteArrayView(data, qsizetype(size)), now, &problem);
    if (!events) {
        fuzz::Check(!problem.isEmpty(), "a refused answer says why");
        return 0;
    }
    for (const QLocale &locale : {OperatorLocale(), fuzz::Locales().at(1)}) {
        FeedForecastsText(*events, locale);
        FeedNoticesTexts({u"Normal"_qs}, events, locale);
    }
    return 0;
}
