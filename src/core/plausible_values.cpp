#include "core/plausible_values.h"

#include <cmath>

namespace voltwise {

bool IsPlausibleMegawatts(double megawatts)
{
    return megawatts >= 0 && megawatts <= kMostPlausibleMegawatts;
}

bool IsPlausibleSurplus(double megawatts)
{
    return std::abs(megawatts) <= kMostPlausibleMegawatts;
}

bool IsPlausibleTime(OleDate time, const QDateTime &operatorNow, double days)
{
    const OleDate now = OleDate::fromDateAndTime(operatorNow.date(), operatorNow.time());
    return std::abs(time.days - now.days) <= days;
}

} // namespace voltwise
