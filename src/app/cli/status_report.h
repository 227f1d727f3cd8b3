#pragma once

#include "graph/chart_header.h"
#include "model/grid_data.h"
#include "status/change_alert.h"
#include "status/status_presentation.h"

#include <QJsonObject>
#include <QLocale>
#include <QString>

#include <optional>

namespace voltwise {

// What one run of the status tool found, for scripts (JSON) and people.
struct StatusReport
{
    const GridData &data;
    const StatusPresentation &presentation;
    const PublishedItems &published;
    const std::optional<ChangeNotice> &notice;
    const ChartHeader &chartHeader;
};

QJsonObject StatusReportJson(const StatusReport &report);
QString StatusReportText(const StatusReport &report);

} // namespace voltwise
