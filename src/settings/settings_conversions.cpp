#include "settings/settings_conversions.h"

#include "core/conversions.h"

#include <cmath>
#include <limits>

namespace voltwise {

QString BooleanText(bool value)
{
    return value ? u"True"_qs : u"False"_qs;
}

std::optional<bool> TextToBoolean(QStringView text, const QLocale &locale)
{
    const QStringView trimmed = text.trimmed();
    if (trimmed.compare(u"True", Qt::CaseInsensitive) == 0)
        return true;
    if (trimmed.compare(u"False", Qt::CaseInsensitive) == 0)
        return false;
    const std::optional<double> number = TextToNumber(trimmed, locale);
    if (!number)
        return std::nullopt;
    return *number != 0.0;
}

std::optional<qint32> TextToWholeNumber(QStringView text, const QLocale &locale)
{
    const std::optional<double> number = TextToNumber(text, locale);
    if (!number)
        return std::nullopt;
    const double rounded = std::nearbyint(*number);
    if (rounded < std::numeric_limits<qint32>::min() ||
        rounded > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(rounded);
}

} // namespace voltwise
