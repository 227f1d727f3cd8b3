#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>

#include <optional>

namespace voltwise {

// "True" or "False".
QString BooleanText(bool value);

// "True" and "False" in any letter case, or a number in the locale's form
// (0 is false, any other number true). Blanks around the text are allowed.
std::optional<bool> TextToBoolean(QStringView text, const QLocale &locale);

// A number in the locale's form, rounded half to even like the runtime's
// integer conversion; nullopt when it does not fit 32 bits.
std::optional<qint32> TextToWholeNumber(QStringView text, const QLocale &locale);

} // namespace voltwise
