#pragma once

#include "model/grid_status.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace voltwise {

// What the operator's summary "/outlook/current/stats.txt" says.
struct StatsSummary
{
    // The previous record with every field whose key was found and converted.
    GridStatus status;
    // The "gridstatus" words as published; the previous ones when absent.
    QStringList operatorStatus;
    // The summary's own time ("slotDate", else the demand's stamp), when it
    // gives one: how the refresh tells a summary a day behind.
    std::optional<OleDate> time;
};

// Reads the summary's JSON. Numbers may be JSON numbers or numeric strings
// in the operator's conventions; a key that is missing or holds something
// else keeps its field. A body that is no JSON object, or holds a figure or
// time that cannot be meant (core/plausible_values.h; operatorNow is the
// operator's wall clock), gives nullopt and the reason in *problem.
std::optional<StatsSummary> ReadStatsSummary(QByteArrayView body, const GridStatus &previous,
                                             const QStringList &previousWords,
                                             const QDateTime &operatorNow, QString *problem);

} // namespace voltwise
