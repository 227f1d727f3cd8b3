#pragma once

#include <QString>

#include <array>
#include <optional>

namespace voltwise {

// The texts and image of each condition level. A level outside 0..7 has
// none of them, and callers keep what they showed before.

// The published condition: English in every locale, for other programs.
std::optional<QString> SystemConditionText(int level);

// The same in the user's language (the start of the icon tip).
std::optional<QString> ShownConditionText(int level);

// The big text of the status strip; differs from the above only at level 7.
std::optional<QString> StatusStripText(int level);

// Index 1..8 of the condition image, level + 1.
std::optional<int> ConditionImageIndex(int level);

// The captions of the level scale and of the forecast scale, to be shown
// through QCoreApplication::translate("Condition", …).
inline constexpr std::array<const char *, 6> kLevelScaleCaptions = {
    QT_TRANSLATE_NOOP("Condition", "Normal"),  QT_TRANSLATE_NOOP("Condition", "Alert"),
    QT_TRANSLATE_NOOP("Condition", "Warning"), QT_TRANSLATE_NOOP("Condition", "Stage-1"),
    QT_TRANSLATE_NOOP("Condition", "Stage-2"), QT_TRANSLATE_NOOP("Condition", "Stage-3")};

inline constexpr std::array<const char *, 3> kForecastScaleCaptions = {
    QT_TRANSLATE_NOOP("Condition", "48-Hour"), QT_TRANSLATE_NOOP("Condition", "24-Hour"),
    QT_TRANSLATE_NOOP("Condition", "1-Hour")};

// Which label of each scale is lit; levels 6 and 7 share the last one.
std::array<bool, 6> LitLevelScale(int level);
std::array<bool, 3> LitForecastScale(int forecastKind);

} // namespace voltwise
