#include "status/status_presentation.h"

#include "core/conversions.h"
#include "status/condition_levels.h"
#include "status/load_reduction.h"
#include "status/status_formats.h"

#include <QCoreApplication>

namespace voltwise {

namespace {
QString updatedLine(const GridStatus &status, const QLocale &locale)
{
    return QCoreApplication::translate("Conditions", "Updated: %1")
        .arg(FormatDateText(status.ActualDemandTime,
                            QCoreApplication::translate("Conditions", "Not Updated"), locale));
}

QString loadWithUnit(double value, const QLocale &locale)
{
    return FormatWholeNumber(value, locale) + QStringLiteral(" MW");
}
} // namespace

PublishedItems PublishedItems::initial()
{
    // Published, so English whatever the user's language.
    return {u"Not Updated"_qs, u"Unknown"_qs, u"0"_qs};
}

PublishedItems StatusPresentation::publishedItems(const PublishedItems &previous) const
{
    return {UpdateTime, SystemCondition.value_or(previous.SystemCondition), CurrentLoad};
}

QString InitialTrayTip()
{
    return *ShownConditionText(LevelUnknown);
}

StatusPresentation PresentStatus(const GridStatus &status, const QLocale &locale)
{
    StatusPresentation p;
    p.CurrentLoad = FormatPlainNumber(status.ActualDemand, locale);
    p.UpdateTime = FormatGeneralDate(status.ActualDemandTime, locale);
    p.SystemCondition = SystemConditionText(status.Level);

    p.imageIndex = ConditionImageIndex(status.Level);
    if (const auto shown = ShownConditionText(status.Level))
        p.trayTip =
            CutTrayTip(*shown + QStringLiteral(": ") + loadWithUnit(status.ActualDemand, locale));
    p.lblStatusText = StatusStripText(status.Level);
    p.lblStatus = LitLevelScale(status.Level);
    p.lblForecast = LitForecastScale(status.ForecastKind);

    if (status.ActualDemand != 0)
        p.chartHeader = QCoreApplication::translate("Conditions", "Current Load: %1")
                            .arg(loadWithUnit(status.ActualDemand, locale)) +
                        QStringLiteral("\r\n") + updatedLine(status, locale);

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
