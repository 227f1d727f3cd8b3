#pragma once

#include "core/ole_date.h"

#include <QDateTime>

namespace voltwise {

// What the grid operator can mean. Its grid's figures lie between none and a
// few hundred thousand megawatts, a surplus or shortfall no further from
// zero, and its times near its own clock. Anything beyond is bad data, kept
// out like an answer that does not read.
inline constexpr double kMostPlausibleMegawatts = 500000;
// Figures are stamped within a day of the operator's clock; Flex Alerts are
// called some days ahead and stay listed while they last.
inline constexpr double kPlausibleStampDays = 1;
inline constexpr double kPlausibleNoticeDays = 14;

bool IsPlausibleMegawatts(double megawatts);
bool IsPlausibleSurplus(double megawatts);
// Within days of operatorNow, both on the operator's wall clock.
bool IsPlausibleTime(OleDate time, const QDateTime &operatorNow, double days);

} // namespace voltwise
