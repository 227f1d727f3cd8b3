#pragma once

#include "model/grid_status.h"

#include <QStringList>
#include <QStringView>

#include <optional>

namespace voltwise {

// The condition level of one of the operator's status words, compared
// without letter case and with blanks trimmed; nullopt for a word the
// table does not know. The operator renamed its stages in 2022: "Flex
// Alert" and "Restricted Maintenance Operations" are alerts, "EEA Watch"
// and transmission emergencies warnings, EEA 1 to 3 the stage emergencies,
// and an EEA 3 that orders rotating outages the load interruptions.
std::optional<ConditionLevel> LevelOfOperatorWord(QStringView word);

// The most severe level among the words; nullopt when none is known.
std::optional<ConditionLevel> LevelOfOperatorWords(const QStringList &words);

bool IsFlexAlertWord(QStringView word);

// The words as the operator publishes them, joined by ", ".
QString OperatorStatusText(const QStringList &words);

} // namespace voltwise
