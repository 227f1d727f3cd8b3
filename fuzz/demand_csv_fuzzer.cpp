// Today's five-minute demand file, with and without the summary's resources.
#include "feeds/demand_reader.h"
#include "fuzz_support.h"

#include <cmath>

using namespace voltwise;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = fuzz::Text(data, size);
    OutlookValues previous;
    previous.setValue(1, 1, 42);
    for (const auto &resources :
         {std::optional<ResourcesNow>(), std::optional(ResourcesNow{QTime(13, 7), 40000})}) {
        const auto day = ReadDemandCsv(text, previous, resources);
        if (!day)
            continue;
        for (int hour = 1; hour <= OutlookHourCount; ++hour)
            for (int series = 1; series <= OutlookSeriesCount; ++series)
                fuzz::Check(std::isfinite(day->values.value(hour, series)), "finite values");
        fuzz::Check(!day->latestActual || day->latestActual->isValid(), "a valid latest time");
    }
    return 0;
}
