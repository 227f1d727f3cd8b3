#pragma once

#include "gridsim/grid_snapshot.h"

namespace voltwise::gridsim {

// Fills the active notices, pending notices and forecasts of a snapshot
// from its level, times and figures.
void WriteNoticeTexts(GridSnapshot &snapshot);

} // namespace voltwise::gridsim
