#pragma once

#include "graph/chart_series.h"
#include "model/outlook_values.h"

#include <QList>
#include <QPointF>

#include <optional>

namespace voltwise {

// Count numbers: start, then each the previous one plus step (added, not
// multiplied, so the values are those of the repeated sums). The first
// number is at index 0.
QList<double> MakeSequence(double start, double step, int count);

// The value the chart draws for this hour (1 to 24) of this series (1 to 4);
// none for a hole or a value that was never read.
std::optional<double> DrawnValue(const OutlookValues &values, int hour, int series);

// The drawn points of one series (1 to 4), at the X values xs for hours
// 1, 2, ..., as runs of neighbours: a hole ends one run, the next drawn point
// starts another, so the curve shows a gap there.
QList<QList<QPointF>> CurveSegments(const QList<double> &xs, const OutlookValues &values,
                                    int series);

struct ValueAxisRange
{
    double min = 0;
    double max = 0;
    int tickCount = 2;
    friend bool operator==(const ValueAxisRange &, const ValueAxisRange &) = default;
};

// The megawatt axis for the drawn points of the shown series, widened to
// round steps; holes and hidden series never move it.
ValueAxisRange ScaleValueAxis(const OutlookValues &values, const SeriesVisibility &shown);

} // namespace voltwise
