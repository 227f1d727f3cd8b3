#include "status/load_reduction.h"

#include "status/status_formats.h"

namespace voltwise {

namespace {
constexpr int kOneHourNotice = 3;

QString spanText(const GridStatus &status, const QLocale &locale)
{
    const QString undetermined = QStringLiteral("Undetermined");
    return FormatDateText(status.NoticeStart, undetermined, locale) + QStringLiteral(" to ") +
           FormatDateText(status.NoticeEnd, undetermined, locale);
}
} // namespace

LoadReductionForm ChooseLoadReductionForm(const GridStatus &status)
{
    if (status.Level == LevelLoadInterruptions)
        return LoadReductionForm::Current;
    if (status.ForecastKind == 0)
        return LoadReductionForm::None;
    return LoadReductionForm::Forecast;
}

std::array<QString, 8> LoadReductionTexts(const GridStatus &status, const QLocale &locale)
{
    const QString currentHeading = QStringLiteral("Current Load Reductions");
    if (status.ReductionsNotPublished) {
        const QString none = QStringLiteral(" \u2014");
        return {ChooseLoadReductionForm(status) == LoadReductionForm::Forecast
                    ? QStringLiteral("Forecasted Load Reductions")
                    : currentHeading,
                QStringLiteral("Not published by the grid operator"),
                none,
                none,
                none,
                none,
                none,
                none};
    }
    switch (ChooseLoadReductionForm(status)) {
    case LoadReductionForm::Current:
        // Pasadena and Vernon follow field order, not the file's column order.
        return {currentHeading,
                spanText(status, locale),
                MwText(status.NoticeValue, locale),
                MwText(status.Interruption1, locale),
                MwText(status.Interruption2, locale),
                MwText(status.Interruption3, locale),
                MwText(status.Interruption4, locale),
                MwText(status.Interruption5, locale)};
    case LoadReductionForm::None: {
        const QString zero = MwText(0, locale);
        return {
            currentHeading, QStringLiteral("None Required"), zero, zero, zero, zero, zero, zero};
    }
    case LoadReductionForm::Forecast:
        break;
    }
    const QString unknown = QStringLiteral(" Unknown");
    return {QStringLiteral("Forecasted Load Reductions"),
            spanText(status, locale),
            status.ForecastKind == kOneHourNotice ? MwText(status.NoticeValue, locale) : unknown,
            unknown,
            unknown,
            unknown,
            unknown,
            unknown};
}

} // namespace voltwise
