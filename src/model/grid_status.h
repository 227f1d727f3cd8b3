#pragma once

#include "core/ole_date.h"

#include <cstdint>

namespace voltwise {

enum ConditionLevel : std::int32_t
{
    LevelUnknown = 0,
    LevelNormal = 1,
    LevelAlert = 2,
    LevelWarning = 3,
    LevelStage1 = 4,
    LevelStage2 = 5,
    LevelStage3 = 6,
    LevelLoadInterruptions = 7,
};

// What the grid operator's status file said last. Every field starts at
// zero and is only ever overwritten by a value that was read and converted.
struct GridStatus
{
    double ActualDemand = 0;
    OleDate ActualDemandTime;
    double AvailableResources = 0;
    OleDate AvailableResourcesTime;
    std::int32_t ForecastKind = 0; // 0 none, 1 48-hour, 2 24-hour, 3 1-hour notice
    OleDate NoticeStart;
    OleDate NoticeEnd;
    double NoticeValue = 0;
    double Interruption1 = 0; // PG&E
    double Interruption2 = 0; // SCE
    double Interruption3 = 0; // SDG&E
    double Interruption4 = 0; // Pasadena
    double Interruption5 = 0; // Vernon
    double ReserveMargin = 0;
    std::int32_t Level = LevelUnknown;
    OleDate LevelStart;
    OleDate LevelEnd;
    double ForecastPeakToday = 0;
    double PeakDemandToday = 0;
    double ForecastPeakTomorrow = 0;
    OleDate Produced;
    // Today's feeds publish no figures by utility territory and no times of
    // interruptions: those fields then mean nothing, not zero.
    bool ReductionsNotPublished = false;

    friend bool operator==(const GridStatus &, const GridStatus &) = default;
};

} // namespace voltwise
