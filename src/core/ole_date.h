#pragma once

#include <QDateTime>

namespace voltwise {

// A date-time as a count of days since 30 December 1899 with the time of
// day as its fraction. Zero means "not set"; a value below one is a time of
// day with no date.
struct OleDate
{
    double days = 0.0;

    bool isZero() const { return days == 0.0; }
    bool hasDatePart() const;
    bool hasTimePart() const;

    // Local wall-clock date and time, whole seconds.
    QDateTime toDateTime() const;
    QDate date() const;
    QTime time() const;

    static OleDate fromDateTime(const QDateTime &dateTime);
    static OleDate fromDateAndTime(QDate date, QTime time);

    friend bool operator==(OleDate, OleDate) = default;
};

} // namespace voltwise
