#include "gridsim/status_csv_writer.h"

#include "gridsim/operator_format.h"

#include <QStringList>

#include <cmath>

namespace voltwise::gridsim {

namespace {

QString Plain(double value)
{
    return QString::number(qint64(std::llround(value)));
}

} // namespace

QByteArray WriteStatusCsv(const GridSnapshot &s)
{
    const QString measured = OperatorDateTime(s.measured);
    QStringList lines;
    lines << u"PRODUCED,"_qs + ProducedStamp(s.produced);
    lines << u"ACTUAL DEMAND,%1,%2"_qs.arg(Plain(s.actualDemand), measured);
    lines << u"AVAILABLE RESOURCES,%1,%2"_qs.arg(Plain(s.availableResources), measured);
    lines << u"PEAK DEMAND TODAY,"_qs + Plain(s.peakDemandToday);
    lines << u"FORECAST PEAK DEMAND TODAY,"_qs + Plain(s.forecastPeakToday);
    lines << u"FORECAST PEAK DEMAND TOMORROW,"_qs + Plain(s.forecastPeakTomorrow);

    QStringList status{u"SYSTEM STATUS"_qs, LevelStatusText(s.level)};
    const bool timed = s.level != LevelNormal;
    status << (timed ? OperatorDateTime(s.levelStart) : QString())
           << (timed ? OperatorDateTime(s.levelEnd) : QString());
    if (s.level == LevelLoadInterruptions) {
        const TerritoryInterruptions &cut = s.interruptions;
        status << Plain(cut.pge) << Plain(cut.sce) << Plain(cut.sdge) << Plain(cut.vernon)
               << Plain(cut.pasadena);
    } else {
        status << QString() << QString() << QString() << QString() << QString();
    }
    lines << status.join(u',');

    if (const auto &n = s.forecastNotice) {
        QStringList row{n->keyword, n->text, OperatorDateTime(n->start), OperatorDateTime(n->end)};
        if (n->megawatts)
            row << Plain(*n->megawatts);
        lines << row.join(u',');
    }
    return (lines.join(u"\r\n") + u"\r\n"_qs).toLatin1();
}

} // namespace voltwise::gridsim
