#pragma once

#include "gridsim/grid_snapshot.h"

#include <QByteArray>

namespace voltwise::gridsim {

// The status file "/outlook/systemstatus.csv": "KEYWORD,values" lines
// ending in CR LF, figures as plain whole numbers.
QByteArray WriteStatusCsv(const GridSnapshot &snapshot);

} // namespace voltwise::gridsim
