#pragma once

#include "model/grid_status.h"

#include <QCoreApplication>
#include <QLocale>
#include <QString>
#include <QStringList>

namespace voltwise {

// "Current Load: …" and "Updated: …", in the user's language.
QString CurrentLoadLine(const QString &load);
QString UpdatedLine(const QString &time);

// The chart's two header lines.
struct ChartHeader
{
    QString currentLoad = CurrentLoadLine(QCoreApplication::translate("Conditions", "Unknown"));
    QString updated = UpdatedLine(QCoreApplication::translate("Conditions", "Not Updated"));

    QStringList lines() const { return {currentLoad, updated}; }
    friend bool operator==(const ChartHeader &, const ChartHeader &) = default;
};

// The header after a refresh: the actual demand in whole megawatts and its
// time, in the locale's form; while the actual demand is 0 the header stays
// as it was.
ChartHeader NextChartHeader(const GridStatus &status, const ChartHeader &current,
                            const QLocale &locale);

} // namespace voltwise
