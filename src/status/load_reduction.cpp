#include "status/load_reduction.h"

#include "status/status_formats.h"

#include <QCoreApplication>

namespace voltwise {

namespace {
constexpr int kOneHourNotice = 3;

QString spanText(const GridStatus &status, const QLocale &locale)
{
    const QString undetermined = QCoreApplication::translate("Conditions", "Undetermined");
    return QCoreApplication::translate("Conditions", "%1 to %2")
        .arg(FormatDateText(status.NoticeStart, undetermined, locale),
             FormatDateText(status.NoticeEnd, undetermined, locale));
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
    const QString currentHeading =
        QCoreApplication::translate("Conditions", "Current Load Reductions");
    if (status.ReductionsNotPublished) {
        const QString none = QStringLiteral(" \u2014");
        return {ChooseLoadReductionForm(status) == LoadReductionForm::Forecast
                    ? QCoreApplication::translate("Conditions", "Forecasted Load Reductions")
                    : currentHeading,
                QCoreApplication::translate("Conditions", "Not published by the grid operator"),
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
        return {currentHeading, QCoreApplication::translate("Conditions", "None Required"),
                zero,           zero,
                zero,           zero,
                zero,           zero};
    }
    case LoadReductionForm::Forecast:
        break;
    }
    // A blank first, as before the figures.
    const QString unknown = u' ' + QCoreApplication::translate("Conditions", "Unknown");
    return {QCoreApplication::translate("Conditions", "Forecasted Load Reductions"),
            spanText(status, locale),
            status.ForecastKind == kOneHourNotice ? MwText(status.NoticeValue, locale) : unknown,
            unknown,
            unknown,
            unknown,
            unknown,
            unknown};
}

} // namespace voltwise
