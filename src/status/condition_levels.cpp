#include "status/condition_levels.h"

#include "core/grid_status.h"

namespace voltwise {

namespace {
bool isKnownLevel(int level)
{
    return level >= LevelUnknown && level <= LevelLoadInterruptions;
}
} // namespace

std::optional<QString> SystemConditionText(int level)
{
    switch (level) {
    case LevelUnknown:
        return QStringLiteral("Status Unknown");
    case LevelNormal:
        return QStringLiteral("System Normal");
    case LevelAlert:
        return QStringLiteral("Alert Notice");
    case LevelWarning:
        return QStringLiteral("Warning Notice");
    case LevelStage1:
        return QStringLiteral("Stage 1 Emergency");
    case LevelStage2:
        return QStringLiteral("Stage 2 Emergency");
    case LevelStage3:
        return QStringLiteral("Stage 3 Emergency");
    case LevelLoadInterruptions:
        return QStringLiteral("Emergency Load Reductions");
    default:
        return std::nullopt;
    }
}

std::optional<QString> StatusStripText(int level)
{
    if (level == LevelLoadInterruptions)
        return QStringLiteral("Rolling Blackouts");
    return SystemConditionText(level);
}

std::optional<int> ConditionImageIndex(int level)
{
    if (!isKnownLevel(level))
        return std::nullopt;
    return level + 1;
}

std::array<bool, 6> LitLevelScale(int level)
{
    std::array<bool, 6> lit{};
    for (int i = 0; i < 5; ++i)
        lit[i] = level == i + 1;
    lit[5] = level == LevelStage3 || level == LevelLoadInterruptions;
    return lit;
}

std::array<bool, 3> LitForecastScale(int forecastKind)
{
    std::array<bool, 3> lit{};
    for (int i = 0; i < 3; ++i)
        lit[i] = forecastKind == i + 1;
    return lit;
}

} // namespace voltwise
