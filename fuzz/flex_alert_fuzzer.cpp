// The Flex Alert service's answer (JSON or XML), and the texts made of it.
#include "core/conversions.h"
#include "feeds/feed_texts.h"
#include "feeds/flex_alert_reader.h"
#include "fuzz_support.h"

using namespace voltwise;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QString problem;
    const auto events = ReadFlexAlertEvents(QByteArrayView(data, qsizetype(size)), &problem);
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
