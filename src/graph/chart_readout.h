#pragma once

#include "graph/chart_series.h"
#include "model/outlook_values.h"

#include <QList>
#include <QLocale>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringView>

namespace voltwise {

// Where the plot area lies on screen and what its axes span: enough to put
// any value on screen the way the chart does.
struct PlotFrame
{
    QRectF area;
    double xMin = 1;
    double xMax = 24;
    double yMin = 0;
    double yMax = 1;

    QPointF position(double x, double y) const;
};

// What lies under the pointer. series and point count from 1; they are 0
// when no drawn point exists.
struct ChartHit
{
    bool inPlotArea = false;
    int series = 0;
    int point = 0;
    friend bool operator==(const ChartHit &, const ChartHit &) = default;
};

// The drawn point nearest to the pointer on screen, among the shown series;
// holes and hidden series are never chosen. A tie goes to the lower series,
// then the earlier point.
ChartHit HitTestChart(const PlotFrame &frame, const QList<double> &xs, const OutlookValues &values,
                      const SeriesVisibility &shown, QPointF pointer);

// "Actual Demand: 31,456MW at 3:00:00 PM": the series name, the value in
// whole megawatts directly followed by "MW at ", and the point's hour in the
// long time form (hour 24 is midnight).
QString ReadoutText(QStringView seriesName, double megawatts, int point, const QLocale &locale);

// What a pointer movement does to the crosshair and the status bar.
struct ChartReadout
{
    enum class Action
    {
        Keep,  // a button is pressed, or nothing is drawn to point at
        Clear, // outside the plot area: crosshair hidden, status bar empty
        Mark,  // crosshair at (x, y), text into the status bar
    };
    Action action = Action::Keep;
    double x = 0;
    double y = 0;
    QString text;
};

ChartReadout ReadoutAt(const PlotFrame &frame, const QList<double> &xs, const OutlookValues &values,
                       const SeriesVisibility &shown, QPointF pointer, bool buttonPressed,
                       const QLocale &locale);

} // namespace voltwise
