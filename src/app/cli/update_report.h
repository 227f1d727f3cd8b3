#pragma once

#include "update/software_update.h"

#include <QJsonObject>
#include <QString>

namespace voltwise {

// What the Help menu's update check would show, for scripts: {"update": {...}}.
QJsonObject UpdateReportJson(const UpdateCheck &check);
// One line for people.
QString UpdateReportText(const UpdateCheck &check);

} // namespace voltwise
