#pragma once

#include "model/flex_alert_events.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QString>

#include <optional>

namespace voltwise {

// Reads the service's JSON answer, or its XML form (the same names as
// elements), and takes out the bidirectional controls of its texts. A body
// that is neither, says nothing of Flex Alerts, or names an event time that
// cannot be meant (core/plausible_values.h; operatorNow is the operator's
// wall clock) gives nullopt and the reason in *problem.
std::optional<FlexAlertEvents> ReadFlexAlertEvents(QByteArrayView body,
                                                   const QDateTime &operatorNow, QString *problem);

} // namespace voltwise
