#include "status/status_presentation.h"

#include "core/conversions.h"
#include "status/condition_levels.h"
#include "status/load_reduction.h"
#include "status/status_formats.h"

namespace voltwise {

namespace {
QString notUpdated()
{
    return QStringLiteral("Not Updated");
}

QString updatedLine(const GridStatus &status, const QLocale &locale)
{
    return QStringLiteral("Updated: ") +
           FormatDateText(status.ActualDemandTime, notUpdated(), locale);
}

QString loadWithUnit(double value, const QLocale &locale)
{
    return FormatWholeNumber(value, locale) + QStringLiteral(" MW");
}
} // namespace

PublishedItems PublishedItems::initial()
{
    return {notUpdated(), QStringLiteral("Unknown"), QStringLiteral("0")};
}

PublishedItems StatusPresentation::publishedItems(const PublishedItems &previous) const
{
    return {UpdateTime, SystemCondition.value_or(previous.SystemCondition), CurrentLoad};
}

QString InitialTrayTip()
{
    return QStringLiteral("Status Unknown");
}

StatusPresentation PresentStatus(const GridStatus &status, const QLocale &locale)
{
    StatusPresentation p;
    p.CurrentLoad = FormatPlainNumber(status.ActualDemand, locale);
    p.UpdateTime = FormatGeneralDate(status.ActualDemandTime, locale);
    p.SystemCondition = SystemConditionText(status.Level);

    p.imageIndex = ConditionImageIndex(status.Level);
    if (p.SystemCondition)
        p.trayTip = CutTrayTip(*p.SystemCondition + QStringLiteral(": ") +
                               loadWithUnit(status.ActualDemand, locale));
    p.lblStatusText = StatusStripText(status.Level);
    p.lblStatus = LitLevelScale(status.Level);
    p.lblForecast = LitForecastScale(status.ForecastKind);

    if (status.ActualDemand != 0)
        p.chartHeader = QStringLiteral("Current Load: ") +
                        loadWithUnit(status.ActualDemand, locale) + QStringLiteral("\r\n") +
                        updatedLine(status, locale);

    p.lblCurrentCondition = {updatedLine(status, locale),
                             MwText(status.AvailableResources, locale),
                             MwText(status.ActualDemand, locale),
                             MwText(status.ReserveMargin, locale),
                             MwText(status.PeakDemandToday, locale),
                             MwText(status.ForecastPeakToday, locale),
                             MwText(status.ForecastPeakTomorrow, locale)};
    p.lblLoadReduction = LoadReductionTexts(status, locale);
    return p;
}

} // namespace voltwise
