#include "gridsim/scenario.h"

#include <array>

namespace voltwise::gridsim {

namespace {

constexpr std::array kWalkLevels{LevelNormal, LevelAlert,  LevelWarning,          LevelStage1,
                                 LevelStage2, LevelStage3, LevelLoadInterruptions};

} // namespace

std::optional<ScenarioKind> ScenarioFromName(QStringView name)
{
    if (name.compare(u"normal", Qt::CaseInsensitive) == 0)
        return ScenarioKind::Normal;
    if (name.compare(u"walk", Qt::CaseInsensitive) == 0)
        return ScenarioKind::Walk;
    return std::nullopt;
}

QString ScenarioName(ScenarioKind kind)
{
    return kind == ScenarioKind::Walk ? QStringLiteral("walk") : QStringLiteral("normal");
}

int ScenarioPeriod(ScenarioKind kind)
{
    return kind == ScenarioKind::Walk ? int(kWalkLevels.size()) : 1;
}

ConditionLevel LevelAt(ScenarioKind kind, int step)
{
    if (kind == ScenarioKind::Normal || step < 0)
        return LevelNormal;
    return kWalkLevels[std::size_t(step) % kWalkLevels.size()];
}

QString LevelStatusText(ConditionLevel level)
{
    switch (level) {
    case LevelNormal:
        return QStringLiteral("NORMAL");
    case LevelAlert:
        return QStringLiteral("ALERT");
    case LevelWarning:
        return QStringLiteral("WARNING");
    case LevelStage1:
        return QStringLiteral("STAGE 1");
    case LevelStage2:
        return QStringLiteral("STAGE 2");
    case LevelStage3:
        return QStringLiteral("STAGE 3");
    case LevelLoadInterruptions:
        return QStringLiteral("STAGE 3 LOAD INTERRUPTIONS");
    case LevelUnknown:
        break;
    }
    return {};
}

} // namespace voltwise::gridsim
