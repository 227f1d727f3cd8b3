#include "graph/chart_header.h"

#include "core/conversions.h"
#include "status/status_formats.h"

namespace voltwise {

ChartHeader NextChartHeader(const GridStatus &status, const ChartHeader &current,
                            const QLocale &locale)
{
    if (status.ActualDemand == 0)
        return current;
    return {u"Current Load: "_qs + FormatWholeNumber(status.ActualDemand, locale) + u" MW"_qs,
            u"Updated: "_qs + FormatDateText(status.ActualDemandTime, u"Not Updated"_qs, locale)};
}

} // namespace voltwise
