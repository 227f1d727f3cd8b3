#include "feeds/operator_dates.h"

#include "core/conversions.h"

#include <algorithm>

namespace voltwise {

namespace {

bool AllDigits(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

std::optional<OleDate> ReadCompactStamp(QStringView text)
{
    const QDateTime stamp = QDateTime::fromString(
        text.toString(), text.size() == 12 ? u"yyyyMMddHHmm"_qs : u"yyyyMMddHHmmss"_qs);
    if (!stamp.isValid())
        return std::nullopt;
    return OleDate::fromDateAndTime(stamp.date(), stamp.time());
}

} // namespace

QTimeZone OperatorTimeZone()
{
    static const QTimeZone pacific(QByteArrayLiteral("America/Los_Angeles"));
    return pacific.isValid() ? pacific : QTimeZone::systemTimeZone();
}

QDateTime OperatorWallClock(const QDateTime &moment)
{
    return moment.toTimeZone(OperatorTimeZone());
}

std::optional<OleDate> ReadOperatorDate(QStringView text)
{
    text = text.trimmed();
    if (text.isEmpty() || text.size() > 40)
        return std::nullopt;
    if ((text.size() == 12 || text.size() == 14) && AllDigits(text))
        return ReadCompactStamp(text);
    if (text.size() > 10 && text[4] == u'-' && text[10] == u'T') {
        const QDateTime iso = QDateTime::fromString(text.toString(), Qt::ISODateWithMs);
        if (!iso.isValid())
            return std::nullopt;
        // Without a zone the time is already the operator's.
        const QDateTime wall = iso.timeSpec() == Qt::LocalTime ? iso : OperatorWallClock(iso);
        return OleDate::fromDateAndTime(wall.date(), wall.time());
    }
    return TextToDate(text, OperatorLocale());
}

} // namespace voltwise
