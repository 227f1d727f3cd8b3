#pragma once

#include "model/grid_status.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace voltwise::gridsim {

enum class ScenarioKind
{
    Normal, // stays normal; the figures drift from step to step
    Walk,   // normal, alert, warning, stage 1 to 3, load interruptions, and round again
};

std::optional<ScenarioKind> ScenarioFromName(QStringView name);
QString ScenarioName(ScenarioKind kind);

// The number of steps before the scenario repeats itself.
int ScenarioPeriod(ScenarioKind kind);

ConditionLevel LevelAt(ScenarioKind kind, int step);

// The status text of a level as the status file writes it ("STAGE 1").
QString LevelStatusText(ConditionLevel level);

} // namespace voltwise::gridsim
