#pragma once

#include "gridsim/scenario.h"
#include "model/grid_status.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace voltwise::gridsim {

// A "48/24/1 HOUR FORECAST NOTICE" row of the status file.
struct ForecastNotice
{
    QString keyword; // "24 HOUR FORECAST NOTICE"
    QString text;    // no commas: the status file has no quoting
    QDateTime start;
    QDateTime end;
    std::optional<double> megawatts; // the 1-hour notice only
};

struct HourFigures
{
    double dayAhead = 0;
    double hourAhead = 0;
    std::optional<double> actual; // none for hours still to come
    double resources = 0;
};

struct TerritoryInterruptions
{
    double pge = 0;
    double sce = 0;
    double sdge = 0;
    double vernon = 0;
    double pasadena = 0;

    double total() const { return pge + sce + sdge + vernon + pasadena; }
};

// Everything the operator publishes at one moment of a scenario. Every
// figure is a whole number of megawatts.
struct GridSnapshot
{
    ScenarioKind scenario = ScenarioKind::Normal;
    int step = 0;
    ConditionLevel level = LevelNormal;

    QDateTime produced;
    QDateTime measured;   // the time of the demand and resources figures
    QDateTime levelStart; // set unless the level is normal
    QDateTime levelEnd;

    double actualDemand = 0;
    double availableResources = 0;
    double peakDemandToday = 0;
    double forecastPeakToday = 0;
    double forecastPeakTomorrow = 0;

    TerritoryInterruptions interruptions; // set during load interruptions only
    std::optional<ForecastNotice> forecastNotice;

    QStringList activeNotices;
    QStringList pendingNotices;
    QStringList forecasts;

    std::array<HourFigures, 24> hours; // index 0 is the hour ending 1
};

// The scenario's state at `step`, entered at `stepStarted`, seen at `now`.
GridSnapshot MakeSnapshot(ScenarioKind kind, int step, const QDateTime &stepStarted,
                          const QDateTime &now);

} // namespace voltwise::gridsim
