#pragma once

#include "core/ole_date.h"

#include <QLocale>
#include <QString>
#include <QStringView>

#include <optional>

namespace voltwise {

// The grid operator writes its files in US conventions (month/day/year,
// "." decimals, "," thousands) whatever the user's locale: read them with
// this, and show the results in the user's locale.
inline QLocale OperatorLocale()
{
    return QLocale(QLocale::English, QLocale::UnitedStates);
}

// The one place where texts become numbers and dates and back. Readers of
// the operator's data pass OperatorLocale(); what the user sees or types
// passes the user's locale (QLocale::system(); tests pass a fixed one).

// A number in the locale's form: its decimal separator, digit grouping
// accepted, blanks around it allowed. Empty, non-finite or other text fails.
std::optional<double> TextToNumber(QStringView text, const QLocale &locale);

// A date, a time of day, or both. Numeric dates follow the locale's order of
// day, month and year; month names may be English or the locale's own;
// times are h:mm or h:mm:ss with an optional AM/PM marker. A time alone has
// no date part; a date alone is at midnight.
std::optional<OleDate> TextToDate(QStringView text, const QLocale &locale);

// The general date format: the locale's short date with a four-digit year,
// a blank and the locale's long time without time zone; the date alone at
// midnight, the time alone when there is no date part.
QString FormatGeneralDate(OleDate value, const QLocale &locale);

// A time of day in the locale's long time format, without time zone.
QString FormatLongTime(QTime time, const QLocale &locale);

// Rounded to a whole number, with the locale's grouping and negative form.
QString FormatWholeNumber(double value, const QLocale &locale);

// The shortest text that reads back as the same number: the locale's
// decimal separator, no grouping.
QString FormatPlainNumber(double value, const QLocale &locale);

} // namespace voltwise
