#include "status/status_formats.h"

#include "core/conversions.h"

namespace voltwise {

QString FormatDateText(OleDate value, const QString &defaultText, const QLocale &locale)
{
    if (value.isZero())
        return defaultText;
    return FormatGeneralDate(value, locale);
}

QString MwText(double value, const QLocale &locale)
{
    return u' ' + FormatWholeNumber(value, locale) + QStringLiteral(" MW");
}

QString CutTrayTip(const QString &tip)
{
    if (tip.size() <= kTrayTipMaxLength)
        return tip;
    qsizetype length = kTrayTipMaxLength;
    if (tip.at(length - 1).isHighSurrogate())
        --length;
    return tip.left(length);
}

} // namespace voltwise
