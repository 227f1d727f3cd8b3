#pragma once

#include <QString>

#include <array>
#include <optional>

namespace voltwise {

// The texts and image of each condition level. A level outside 0..7 has
// none of them, and callers keep what they showed before.

// The published condition (also the start of the icon tip).
std::optional<QString> SystemConditionText(int level);

// The big text of the status strip; differs from the above only at level 7.
std::optional<QString> StatusStripText(int level);

// Index 1..8 of the condition image, level + 1.
std::optional<int> ConditionImageIndex(int level);

inline const std::array<QString, 6> &LevelScaleCaptions()
{
    static const std::array<QString, 6> captions = {
        QStringLiteral("Normal"),  QStringLiteral("Alert"),   QStringLiteral("Warning"),
        QStringLiteral("Stage-1"), QStringLiteral("Stage-2"), QStringLiteral("Stage-3")};
    return captions;
}

inline const std::array<QString, 3> &ForecastScaleCaptions()
{
    static const std::array<QString, 3> captions = {
        QStringLiteral("48-Hour"), QStringLiteral("24-Hour"), QStringLiteral("1-Hour")};
    return captions;
}

// Which label of each scale is lit; levels 6 and 7 share the last one.
std::array<bool, 6> LitLevelScale(int level);
std::array<bool, 3> LitForecastScale(int forecastKind);

} // namespace voltwise
