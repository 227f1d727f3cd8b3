#pragma once

#include <QStringView>

namespace voltwise {

// Where the operator publishes its feeds of today: the summary and the
// demand file on its main web server, the Flex Alert service on its own.
inline constexpr QStringView kStatsPath = u"/outlook/current/stats.txt";
inline constexpr QStringView kDemandPath = u"/outlook/current/demand.csv";
inline constexpr QStringView kFlexAlertEventsPath =
    u"/TodaysOutlookApi/api/EmergencyNotices/v2/ActiveFlexAlertEvents";
// The operator's page of today's outlook, linked from a notice.
inline constexpr QStringView kTodaysOutlookPath = u"/todays-outlook";

} // namespace voltwise
