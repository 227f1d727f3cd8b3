#pragma once

#include "core/ole_date.h"

#include <QLocale>
#include <QString>

namespace voltwise {

// The general date form of a date, or defaultText when the date is zero.
QString FormatDateText(OleDate value, const QString &defaultText, const QLocale &locale);

// A blank, the value rounded to a whole number in the locale's form, " MW".
QString MwText(double value, const QLocale &locale);

// The longest tip the notification area takes.
inline constexpr qsizetype kTrayTipMaxLength = 63;

// The tip as the notification area shows it: its first 63 characters, one
// fewer when a surrogate pair would be split.
QString CutTrayTip(const QString &tip);

} // namespace voltwise
