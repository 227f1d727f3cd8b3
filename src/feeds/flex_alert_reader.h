#pragma once

#include "core/ole_date.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace voltwise {

struct FlexAlertEvent
{
    QString id;
    QString title;
    QString startText; // as published, shown when it does not read as a date
    QString endText;
    std::optional<OleDate> start;
    std::optional<OleDate> end;
    QStringList regions; // "Region" split at ";" or ","

    friend bool operator==(const FlexAlertEvent &, const FlexAlertEvent &) = default;
};

// The answer of the operator's Flex Alert service.
struct FlexAlertEvents
{
    bool isActive = false; // "IsFlexAlertActive"
    std::optional<OleDate> updatedOn;
    QList<FlexAlertEvent> active;
    QList<FlexAlertEvent> future;

    friend bool operator==(const FlexAlertEvents &, const FlexAlertEvents &) = default;
};

// Reads the service's JSON answer, or its XML form (the same names as
// elements), and takes out the bidirectional controls of its texts. A body
// that is neither, says nothing of Flex Alerts, or names an event time that
// cannot be meant (core/plausible_values.h; operatorNow is the operator's
// wall clock) gives nullopt and the reason in *problem.
std::optional<FlexAlertEvents> ReadFlexAlertEvents(QByteArrayView body,
                                                   const QDateTime &operatorNow, QString *problem);

} // namespace voltwise
