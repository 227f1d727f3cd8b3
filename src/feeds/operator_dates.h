#pragma once

#include "core/ole_date.h"

#include <QDateTime>
#include <QStringView>
#include <QTimeZone>

#include <optional>

namespace voltwise {

// The operator's clock: Pacific time, or the local zone where the time-zone
// database lacks it.
QTimeZone OperatorTimeZone();

// A moment as the operator's wall clock shows it.
QDateTime OperatorWallClock(const QDateTime &moment);

// A date-time of today's feeds as the operator's wall clock: "06-11-2021
// 09:05:29", "06-11-2021 09:00", "08/31/2022 13:05" (read in the operator's
// US conventions), "202208311305" (the summary's compact stamps) or ISO 8601
// with a zone ("2024-06-17T15:19:40Z"), which is turned to Pacific time.
std::optional<OleDate> ReadOperatorDate(QStringView text);

} // namespace voltwise
