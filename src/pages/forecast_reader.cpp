#include "pages/forecast_reader.h"

#include "core/text_helpers.h"
#include "pages/page_sections.h"

namespace voltwise {

QString ReadForecastPage(QStringView page, const QString &previousForecastsText)
{
    if (!IsReadablePage(page))
        return previousForecastsText;
    return u"Current Active Forecast(s): \r\n\r\n"_qs +
           WithoutDirectionControls(PreformattedSectionText(
               page, u"Current Active Forecast(s)",
               u"No forecasts of load reductions are being issued at this time."));
}

} // namespace voltwise
