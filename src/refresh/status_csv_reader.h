#pragma once

#include "core/grid_status.h"

#include <QLocale>
#include <QStringView>

namespace voltwise {

// Reads the operator's status file into a copy of the previous record:
// only rows and columns that are found and convert overwrite a field.
GridStatus ReadStatusCsv(QStringView text, const GridStatus &previous, const QLocale &locale);

} // namespace voltwise
