#pragma once

#include "core/grid_status.h"
#include "pages/notices_reader.h"
#include "pages/outlook_values.h"

#include <QByteArray>
#include <QString>

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
};

} // namespace voltwise
