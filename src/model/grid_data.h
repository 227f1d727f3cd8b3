#pragma once

#include "model/flex_alert_events.h"
#include "model/grid_status.h"
#include "model/notices_texts.h"
#include "model/outlook_values.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace voltwise {

// Everything the readers keep between refreshes; the presenter reads it.
struct GridData
{
    GridStatus Status;
    NoticesTexts Notices;
    QString ForecastsText;
    OutlookValues Outlook;
    // The operator's load picture, downloaded this refresh and not yet shown.
    std::optional<QByteArray> PendingGraphPicture;
    // Today's feeds: the operator's own status words and its Flex Alert
    // events, as last read (no events before the service answered once).
    QStringList OperatorStatus;
    std::optional<FlexAlertEvents> FlexAlerts;
};

} // namespace voltwise
