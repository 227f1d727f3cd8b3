#pragma once

#include <QDateTime>
#include <QString>

namespace voltwise::gridsim {

// Texts written the way a US grid operator writes them, whatever the
// locale of the machine the simulator runs on.

// "08/13/2001 14:25"
QString OperatorDateTime(const QDateTime &time);

// "Mon Aug 13 14:25:03 PDT 2001"
QString ProducedStamp(const QDateTime &time);

// Whole megawatts with a comma between thousands: "31,456".
QString Megawatts(double value);

} // namespace voltwise::gridsim
