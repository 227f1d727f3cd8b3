#include "gridsim/operator_format.h"

#include <QLocale>

#include <cmath>

namespace voltwise::gridsim {

QString OperatorDateTime(const QDateTime &time)
{
    return QLocale::c().toString(time, u"MM/dd/yyyy HH:mm");
}

QString ProducedStamp(const QDateTime &time)
{
    QString zone = time.timeZoneAbbreviation();
    zone.remove(u' ');
    if (zone.isEmpty())
        zone = QStringLiteral("LT");
    const QLocale c = QLocale::c();
    return c.toString(time, u"ddd MMM dd HH:mm:ss") + u' ' + zone + u' ' +
           c.toString(time, u"yyyy");
}

QString Megawatts(double value)
{
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(qint64(std::llround(value)));
}

} // namespace voltwise::gridsim
