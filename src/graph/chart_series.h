#pragma once

#include "model/outlook_values.h"

#include <QString>
#include <QtGlobal>

#include <array>

namespace voltwise {

// How one load series is drawn (every series also marks its data points).
// Colours are data colours: the same on every screen, never taken from the
// user's scheme.
struct ChartSeriesStyle
{
    int red = 0;
    int green = 0;
    int blue = 0;
    int lineStyle = 0; // LineStyleDashed or LineStyleSolid
};

inline constexpr int LineStyleSolid = 2;
inline constexpr int LineStyleDashed = 5;

// In series order, as OutlookSeriesNames names them: the two forecasts
// dashed, the two measured series solid.
inline constexpr std::array<ChartSeriesStyle, OutlookSeriesCount> ChartSeriesStyles = {{
    {110, 30, 120, LineStyleDashed},
    {0, 160, 170, LineStyleDashed},
    {30, 100, 140, LineStyleSolid},
    {240, 140, 30, LineStyleSolid},
}};

using SeriesVisibility = std::array<bool, OutlookSeriesCount>;

// Series s (1 to 4) is shown when bit s - 1 of the mask is set; higher bits
// mean nothing.
SeriesVisibility SeriesShown(qint32 graphValues);

// The name of series s (1 to 4) in the user's language, for the legend,
// the Graph menu and the read-out.
QString ShownSeriesName(int series);

// The mask after a click on the Graph menu's series item index (1 to 4).
qint32 FlipGraphValue(qint32 graphValues, int index);

} // namespace voltwise
