#include "gridsim/grid_snapshot.h"

#include "gridsim/load_curve.h"
#include "gridsim/notice_texts.h"

#include <algorithm>
#include <cmath>

namespace voltwise::gridsim {

namespace {

struct LevelProfile
{
    double demandFactor; // hotter days come with the emergencies
    double reserve;      // resources above (below, when negative) demand
};

LevelProfile ProfileOf(ConditionLevel level)
{
    switch (level) {
    case LevelAlert:
        return {1.02, 0.095};
    case LevelWarning:
        return {1.03, 0.075};
    case LevelStage1:
        return {1.04, 0.062};
    case LevelStage2:
        return {1.05, 0.042};
    case LevelStage3:
        return {1.06, 0.013};
    case LevelLoadInterruptions:
        return {1.07, -0.025};
    default:
        return {1.0, 0.16};
    }
}

double Whole(double value)
{
    return std::round(value);
}

QDateTime At(const QDateTime &reference, QDate date, QTime time)
{
    QDateTime result = reference;
    result.setDate(date);
    result.setTime(time);
    return result;
}

QDateTime StartOfHour(const QDateTime &time)
{
    return At(time, time.date(), QTime(time.time().hour(), 0));
}

double HourOfDay(const QDateTime &time)
{
    return double(time.time().msecsSinceStartOfDay()) / 3'600'000.0;
}

void FillHours(GridSnapshot &s, const LevelProfile &profile, const QDateTime &now)
{
    const int day = int(now.date().toJulianDay() % 100000);
    const int hoursDone = now.time().hour(); // hours ending 1..hoursDone are over
    for (int he = 1; he <= 24; ++he) {
        const double base = BaseLoadForHourEnding(he) * profile.demandFactor;
        HourFigures &h = s.hours[std::size_t(he - 1)];
        h.dayAhead = Whole(base * (1 + 0.015 * Wobble(day * 100 + he)));
        h.hourAhead = Whole(base * (1 + 0.007 * Wobble(day * 100 + he + 40)));
        h.resources = Whole(h.dayAhead * (1 + profile.reserve));
        if (he <= hoursDone)
            h.actual = Whole(base * (1 + 0.005 * Wobble(day * 100 + he + 70 + s.step * 7)));
    }
}

std::optional<ForecastNotice> NoticeFor(const GridSnapshot &s, const QDateTime &now)
{
    const QDate today = now.date();
    switch (s.level) {
    case LevelAlert:
    case LevelWarning:
        return ForecastNotice{QStringLiteral("48 HOUR FORECAST NOTICE"),
                              QStringLiteral("POSSIBLE LOAD INTERRUPTIONS"),
                              At(now, today.addDays(2), QTime(14, 0)),
                              At(now, today.addDays(2), QTime(19, 0)), std::nullopt};
    case LevelStage1:
    case LevelStage2:
        return ForecastNotice{QStringLiteral("24 HOUR FORECAST NOTICE"),
                              QStringLiteral("EXPECTED LOAD INTERRUPTIONS"),
                              At(now, today.addDays(1), QTime(14, 0)),
                              At(now, today.addDays(1), QTime(19, 0)), std::nullopt};
    case LevelStage3: {
        const QDateTime start = StartOfHour(now).addSecs(3600);
        return ForecastNotice{QStringLiteral("1 HOUR FORECAST NOTICE"),
                              QStringLiteral("IMMINENT LOAD INTERRUPTIONS"), start,
                              start.addSecs(3 * 3600), Whole(s.actualDemand * 0.025 / 100) * 100};
    }
    case LevelLoadInterruptions:
        return ForecastNotice{QStringLiteral("1 HOUR FORECAST NOTICE"),
                              QStringLiteral("LOAD INTERRUPTIONS IN PROGRESS"), s.levelStart,
                              s.levelEnd, s.interruptions.total()};
    default:
        return std::nullopt;
    }
}

} // namespace

GridSnapshot MakeSnapshot(ScenarioKind kind, int step, const QDateTime &stepStarted,
                          const QDateTime &now)
{
    GridSnapshot s;
    s.scenario = kind;
    s.step = step;
    s.level = LevelAt(kind, step);
    const LevelProfile profile = ProfileOf(s.level);

    s.produced = now;
    s.measured = At(now, now.date(), QTime(now.time().hour(), now.time().minute() / 5 * 5));
    if (s.level != LevelNormal) {
        s.levelStart = StartOfHour(stepStarted);
        s.levelEnd = s.levelStart.addSecs(6 * 3600);
    }

    const double load = BaseLoadAt(HourOfDay(s.measured)) * profile.demandFactor;
    s.actualDemand = Whole(load * (1 + 0.006 * Wobble(step * 7 + 1)));
    s.availableResources =
        Whole(s.actualDemand * (1 + profile.reserve) * (1 + 0.003 * Wobble(step * 7 + 2)));

    FillHours(s, profile, now);
    s.peakDemandToday = s.actualDemand;
    s.forecastPeakToday = 0;
    for (const HourFigures &h : s.hours) {
        s.peakDemandToday = std::max(s.peakDemandToday, h.actual.value_or(0));
        s.forecastPeakToday = std::max(s.forecastPeakToday, h.dayAhead);
    }
    const int tomorrow = int(now.date().addDays(1).toJulianDay() % 100000);
    s.forecastPeakTomorrow =
        Whole(BaseLoadAt(17) * profile.demandFactor * (1 + 0.01 * Wobble(tomorrow)));

    if (s.level == LevelLoadInterruptions) {
        const double cut = s.actualDemand * 0.035;
        s.interruptions = {Whole(cut * 0.45), Whole(cut * 0.40), Whole(cut * 0.10),
                           Whole(cut * 0.02), Whole(cut * 0.03)};
    }
    s.forecastNotice = NoticeFor(s, now);
    WriteNoticeTexts(s);
    return s;
}

} // namespace voltwise::gridsim
