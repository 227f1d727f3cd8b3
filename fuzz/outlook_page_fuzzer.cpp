// The outlook page's hourly tables.
#include "fuzz_support.h"
#include "pages/outlook_reader.h"

#include <cmath>

using namespace voltwise;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString page = fuzz::Text(data, size);
    OutlookValues previous;
    previous.setValue(1, 1, 42);
    const OutlookValues read = ReadOutlookPage(page, previous);
    for (int hour = 1; hour <= OutlookHourCount; ++hour)
        for (int series = 1; series <= OutlookSeriesCount; ++series)
            fuzz::Check(std::isfinite(read.value(hour, series)), "every value is finite");
    return 0;
}
