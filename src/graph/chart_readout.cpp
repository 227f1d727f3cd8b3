#include "graph/chart_readout.h"

#include "core/conversions.h"
#include "graph/chart_plot.h"
#include "graph/chart_series.h"

#include <QCoreApplication>
#include <QLineF>
#include <QTime>

#include <algorithm>

namespace voltwise {

QPointF PlotFrame::position(double x, double y) const
{
    const double xSpan = xMax - xMin;
    const double ySpan = yMax - yMin;
    return {area.left() + (xSpan != 0 ? (x - xMin) / xSpan * area.width() : 0),
            area.bottom() - (ySpan != 0 ? (y - yMin) / ySpan * area.height() : 0)};
}

ChartHit HitTestChart(const PlotFrame &frame, const QList<double> &xs, const OutlookValues &values,
                      const SeriesVisibility &shown, QPointF pointer)
{
    ChartHit hit;
    hit.inPlotArea = frame.area.contains(pointer);
    if (!hit.inPlotArea)
        return hit;
    double nearest = 0;
    const int hours = std::min<int>(int(xs.size()), OutlookHourCount);
    for (int series = 1; series <= OutlookSeriesCount; ++series) {
        if (!shown[std::size_t(series - 1)])
            continue;
        for (int point = 1; point <= hours; ++point) {
            const std::optional<double> y = DrawnValue(values, point, series);
            if (!y)
                continue;
            const double distance = QLineF(pointer, frame.position(xs[point - 1], *y)).length();
            if (hit.point == 0 || distance < nearest) {
                nearest = distance;
                hit.series = series;
                hit.point = point;
            }
        }
    }
    return hit;
}

QString ReadoutText(QStringView seriesName, double megawatts, int point, const QLocale &locale)
{
    const QTime time(point % 24, 0, 0);
    return QCoreApplication::translate("Chart", "%1: %2MW at %3")
        .arg(seriesName, FormatWholeNumber(megawatts, locale), FormatLongTime(time, locale));
}

ChartReadout ReadoutAt(const PlotFrame &frame, const QList<double> &xs, const OutlookValues &values,
                       const SeriesVisibility &shown, QPointF pointer, bool buttonPressed,
                       const QLocale &locale)
{
    ChartReadout readout;
    if (buttonPressed)
        return readout;
    const ChartHit hit = HitTestChart(frame, xs, values, shown, pointer);
    if (!hit.inPlotArea) {
        readout.action = ChartReadout::Action::Clear;
        return readout;
    }
    if (hit.series < 1 || hit.point < 1)
        return readout;
    readout.action = ChartReadout::Action::Mark;
    readout.x = xs[hit.point - 1];
    readout.y = values.value(hit.point, hit.series);
    readout.text = ReadoutText(ShownSeriesName(hit.series), readout.y, hit.point, locale);
    return readout;
}

} // namespace voltwise
