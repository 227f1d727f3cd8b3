#include "core/ole_date.h"

#include <cmath>

namespace voltwise {

namespace {
// A function, not a constant: dates may be built while other files'
// constants are still being set up.
QDate epoch()
{
    return QDate(1899, 12, 30);
}
constexpr qint64 kSecondsPerDay = 24 * 60 * 60;

// Whole days and seconds of the day. Negative values count their date part
// backwards but their time forwards, as the representation has it.
void split(double days, qint64 &wholeDays, qint64 &seconds)
{
    double dayPart = std::trunc(days);
    double fraction = std::fabs(days - dayPart);
    seconds = std::llround(fraction * kSecondsPerDay);
    if (seconds >= kSecondsPerDay) {
        seconds -= kSecondsPerDay;
        dayPart += days < 0 ? -1 : 1;
    }
    wholeDays = static_cast<qint64>(dayPart);
}
} // namespace

bool OleDate::hasDatePart() const
{
    return std::trunc(days) != 0.0;
}

bool OleDate::hasTimePart() const
{
    qint64 wholeDays = 0;
    qint64 seconds = 0;
    split(days, wholeDays, seconds);
    return seconds != 0;
}

QDate OleDate::date() const
{
    if (!std::isfinite(days) || std::fabs(days) > 3.0e6)
        return {};
    qint64 wholeDays = 0;
    qint64 seconds = 0;
    split(days, wholeDays, seconds);
    return epoch().addDays(wholeDays);
}

QTime OleDate::time() const
{
    if (!std::isfinite(days) || std::fabs(days) > 3.0e6)
        return {};
    qint64 wholeDays = 0;
    qint64 seconds = 0;
    split(days, wholeDays, seconds);
    return QTime(0, 0).addSecs(static_cast<int>(seconds));
}

QDateTime OleDate::toDateTime() const
{
    return QDateTime(date(), time());
}

OleDate OleDate::fromDateAndTime(QDate date, QTime time)
{
    if (!date.isValid())
        date = epoch();
    if (!time.isValid())
        time = QTime(0, 0);
    const qint64 wholeDays = epoch().daysTo(date);
    const double fraction =
        static_cast<double>(time.msecsSinceStartOfDay() / 1000) / kSecondsPerDay;
    // Before the epoch the time of day still counts forwards.
    return OleDate{wholeDays >= 0 ? wholeDays + fraction : wholeDays - fraction};
}

OleDate OleDate::fromDateTime(const QDateTime &dateTime)
{
    return fromDateAndTime(dateTime.date(), dateTime.time());
}

} // namespace voltwise
