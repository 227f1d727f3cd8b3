#include "graph/chart_header.h"

#include "core/conversions.h"
#include "status/status_formats.h"

namespace voltwise {

QString CurrentLoadLine(const QString &load)
{
    return QCoreApplication::translate("Conditions", "Current Load: %1").arg(load);
}

QString UpdatedLine(const QString &time)
{
    return QCoreApplication::translate("Conditions", "Updated: %1").arg(time);
}

ChartHeader NextChartHeader(const GridStatus &status, const ChartHeader &current,
                            const QLocale &locale)
{
    if (status.ActualDemand == 0)
        return current;
    return {CurrentLoadLine(FormatWholeNumber(status.ActualDemand, locale) + u" MW"_qs),
            UpdatedLine(FormatDateText(status.ActualDemandTime,
                                       QCoreApplication::translate("Conditions", "Not Updated"),
                                       locale))};
}

} // namespace voltwise
