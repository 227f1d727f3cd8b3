#pragma once

#include "core/grid_status.h"
#include "pages/outlook_values.h"

namespace voltwise::testing {

// Series s at hour h: s * 10000 + h * 100 MW, with the actual demand known
// up to hour 15.
inline OutlookValues DayFigures()
{
    OutlookValues values;
    for (int h = 1; h <= OutlookHourCount; ++h)
        for (int s = 1; s <= OutlookSeriesCount; ++s)
            values.setValue(h, s, s == 3 && h > 15 ? HoleValue : s * 10000 + h * 100);
    return values;
}

inline GridStatus Demand(double megawatts)
{
    GridStatus status;
    status.ActualDemand = megawatts;
    status.ActualDemandTime = OleDate::fromDateTime(QDateTime(QDate(2024, 7, 15), QTime(15, 0)));
    return status;
}

} // namespace voltwise::testing
