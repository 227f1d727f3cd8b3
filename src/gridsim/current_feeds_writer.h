#pragma once

#include "gridsim/grid_snapshot.h"

#include <QByteArray>
#include <QStringList>

namespace voltwise::gridsim {

// The operator's feeds of today, written from a snapshot whose times are
// the operator's (Pacific) wall clock.

// The "gridstatus" words of a level: "Normal", "Flex Alert", then the
// emergency's name beside the Flex Alert, up to "EEA 3 - Ordering rotating
// power outages".
QStringList OperatorWordsOf(ConditionLevel level);

// "/outlook/current/stats.txt": the summary as JSON, with "slotDate"
// ("07/15/2024 07:30") and the compact stamp "CurrentSystemDemandTS"
// ("202407150730").
QByteArray WriteStatsJson(const GridSnapshot &snapshot);

// "/outlook/current/demand.csv": five-minute rows "00:00" to "23:55" and the
// next day's "00:00", CR LF line ends. The rows of an hour average to the
// snapshot's figure; actual demand only for the hours that are over.
QByteArray WriteDemandCsv(const GridSnapshot &snapshot);

// "/TodaysOutlookApi/api/EmergencyNotices/v2/ActiveFlexAlertEvents": a
// Flex Alert is active from the alert level up, a new one (ID) each round
// of the walk; a forecast notice of a later day is a future Flex Alert.
// "UpdatedOn" in ISO 8601 (UTC), the events' dates in "MM-dd-yyyy HH:mm".
QByteArray WriteFlexAlertEvents(const GridSnapshot &snapshot);

} // namespace voltwise::gridsim
