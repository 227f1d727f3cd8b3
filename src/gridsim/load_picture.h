#pragma once

#include "gridsim/grid_snapshot.h"

#include <QByteArray>

namespace voltwise::gridsim {

// The small picture of the day's load ("/outlook/SP/ems_small.gif"): a line
// chart of the forecasts, the actual demand so far and the resources, as
// PNG bytes (Qt cannot write GIF; readers detect the format from the bytes).
QByteArray DrawLoadPicture(const GridSnapshot &snapshot);

inline constexpr int kLoadPictureWidth = 320;
inline constexpr int kLoadPictureHeight = 200;

} // namespace voltwise::gridsim
