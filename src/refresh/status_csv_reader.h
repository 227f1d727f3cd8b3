#pragma once

#include "model/grid_status.h"

#include <QStringView>

namespace voltwise {

// Reads the operator's status file into a copy of the previous record:
// only rows and columns that are found and convert overwrite a field.
// Numbers and dates are read in the operator's conventions, whatever the
// user's locale.
GridStatus ReadStatusCsv(QStringView text, const GridStatus &previous);

} // namespace voltwise
