#pragma once

#include "core/ole_date.h"

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

} // namespace voltwise
