#include "status/condition_levels.h"

#include "model/grid_status.h"

#include <QCoreApplication>

namespace voltwise {

namespace {
bool isKnownLevel(int level)
{
    return level >= LevelUnknown && level <= LevelLoadInterruptions;
}

constexpr std::array<const char *, 8> kConditions = {
    QT_TRANSLATE_NOOP("Condition", "Status Unknown"),
    QT_TRANSLATE_NOOP("Condition", "System Normal"),
    QT_TRANSLATE_NOOP("Condition", "Alert Notice"),
    QT_TRANSLATE_NOOP("Condition", "Warning Notice"),
    QT_TRANSLATE_NOOP("Condition", "Stage 1 Emergency"),
    QT_TRANSLATE_NOOP("Condition", "Stage 2 Emergency"),
    QT_TRANSLATE_NOOP("Condition", "Stage 3 Emergency"),
    QT_TRANSLATE_NOOP("Condition", "Emergency Load Reductions")};
} // namespace

std::optional<QString> SystemConditionText(int level)
{
    if (!isKnownLevel(level))
        return std::nullopt;
    return QString::fromLatin1(kConditions[level]);
}

std::optional<QString> ShownConditionText(int level)
{
    if (!isKnownLevel(level))
        return std::nullopt;
    return QCoreApplication::translate("Condition", kConditions[level]);
}

std::optional<QString> StatusStripText(int level)
{
    if (level == LevelLoadInterruptions)
        return QCoreApplication::translate("Condition", "Rolling Blackouts");
    return ShownConditionText(level);
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
