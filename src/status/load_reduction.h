#pragma once

#include "model/grid_status.h"

#include <QLocale>
#include <QString>

#include <array>

namespace voltwise {

enum class LoadReductionForm
{
    Current,  // load is being interrupted now
    None,     // neither interruptions nor a forecast notice
    Forecast, // a forecast notice is current
};

LoadReductionForm ChooseLoadReductionForm(const GridStatus &status);

// The texts of lblLoadReduction(0) to lblLoadReduction(7): heading, span or
// "None Required", total, then PG&E, SCE, SDG&E, Pasadena, Vernon. Where the
// operator publishes none of them, the heading, a line that says so and dashes.
std::array<QString, 8> LoadReductionTexts(const GridStatus &status, const QLocale &locale);

} // namespace voltwise
