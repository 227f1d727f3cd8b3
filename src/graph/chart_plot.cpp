#include "graph/chart_plot.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace voltwise {

namespace {

constexpr int kWantedTicks = 6;

// 1, 2, 5 or 10 times a power of ten, near the given step.
double RoundStep(double step)
{
    const double power = std::pow(10.0, std::floor(std::log10(step)));
    const double fraction = step / power;
    const double rounded = fraction < 1.5 ? 1 : fraction < 3 ? 2 : fraction < 7 ? 5 : 10;
    return rounded * power;
}

} // namespace

QList<double> MakeSequence(double start, double step, int count)
{
    QList<double> sequence;
    sequence.reserve(std::max(count, 0));
    double value = start;
    for (int i = 0; i < count; ++i) {
        sequence.append(value);
        value += step;
    }
    return sequence;
}

std::optional<double> DrawnValue(const OutlookValues &values, int hour, int series)
{
    const double y = values.value(hour, series);
    if (!values.isStored(hour, series) || !std::isfinite(y) || y == HoleValue)
        return std::nullopt;
    return y;
}

QList<QList<QPointF>> CurveSegments(const QList<double> &xs, const OutlookValues &values,
                                    int series)
{
    QList<QList<QPointF>> segments;
    bool inRun = false;
    const int hours = std::min<int>(int(xs.size()), OutlookHourCount);
    for (int hour = 1; hour <= hours; ++hour) {
        const std::optional<double> y = DrawnValue(values, hour, series);
        if (!y) {
            inRun = false;
            continue;
        }
        if (!inRun)
            segments.append(QList<QPointF>());
        segments.last().append(QPointF(xs[hour - 1], *y));
        inRun = true;
    }
    return segments;
}

ValueAxisRange ScaleValueAxis(const OutlookValues &values, const SeriesVisibility &shown)
{
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (int series = 1; series <= OutlookSeriesCount; ++series) {
        if (!shown[std::size_t(series - 1)])
            continue;
        for (int hour = 1; hour <= OutlookHourCount; ++hour) {
            if (const std::optional<double> y = DrawnValue(values, hour, series)) {
                low = std::min(low, *y);
                high = std::max(high, *y);
            }
        }
    }
    if (low > high)
        low = high = 0;
    if (low == high) {
        // A flat line sits in the middle rather than on the frame.
        low -= 500;
        high += 500;
    }
    const double step = RoundStep((high - low) / (kWantedTicks - 1));
    if (!std::isfinite(step) || step <= 0)
        return {low, high, 2}; // figures too far apart for round steps
    ValueAxisRange range;
    range.min = std::floor(low / step) * step;
    range.max = std::ceil(high / step) * step;
    range.tickCount = int(std::lround((range.max - range.min) / step)) + 1;
    return range;
}

} // namespace voltwise
