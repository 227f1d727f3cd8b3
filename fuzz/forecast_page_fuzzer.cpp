// The forecast page's section of active forecasts.
#include "fuzz_support.h"
#include "pages/forecast_reader.h"

using namespace voltwise;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString page = fuzz::Text(data, size);
    const QString previous = u"previous forecasts"_qs;
    const QString read = ReadForecastPage(page, previous);
    fuzz::Check(read == previous || read.startsWith(u"Current Active Forecast(s): \r\n\r\n"),
                "either kept or rebuilt under its heading");
    return 0;
}
