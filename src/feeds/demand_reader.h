#pragma once

#include "model/outlook_values.h"

#include <QStringView>
#include <QTime>

#include <optional>

namespace voltwise {

// What the operator's five-minute demand file "/outlook/current/demand.csv"
// gives the chart.
struct DemandDay
{
    OutlookValues values;
    // The latest "Time" with a "Current demand" value: how the refresh tells
    // yesterday's file, still served just after midnight.
    std::optional<QTime> latestActual;
};

// The summary's available resources, placed in the hour that holds its time.
struct ResourcesNow
{
    QTime time;
    double megawatts = 0;
};

// Reads the file into a copy of previous. Columns are found by their header
// names ("Day ahead forecast", "Hour ahead forecast", "Current demand" for
// series 1 to 3); a series without its column keeps its values. The hour
// ending h is the mean of the values at times in [h-1:00, h:00), a hole
// (HoleValue) when it has none. A row whose time goes back (the next day's
// "00:00") ends the day. Series 4 is all holes but the hour of `resources`.
// nullopt when the header has neither a "Time" column nor any of the three,
// and when a value cannot be meant (core/plausible_values.h), with the
// reason in *problem.
std::optional<DemandDay> ReadDemandCsv(QStringView text, const OutlookValues &previous,
                                       std::optional<ResourcesNow> resources,
                                       QString *problem = nullptr);

} // namespace voltwise
