#pragma once

#include "model/flex_alert_events.h"
#include "model/notices_texts.h"

#include <QLocale>
#include <QStringList>

#include <optional>

namespace voltwise {

// The Notices tab and the text that change alerting compares, from the
// operator's status words and its Flex Alert events (none when the service
// was never read). The compared text holds the words and the active
// events' IDs and titles only, so that a new status or a new Flex Alert is
// a change and nothing else is; it is empty while both are unknown.
NoticesTexts FeedNoticesTexts(const QStringList &operatorStatus,
                              const std::optional<FlexAlertEvents> &flexAlerts,
                              const QLocale &locale);

// The Forecasts tab: the Flex Alerts to come.
QString FeedForecastsText(const FlexAlertEvents &flexAlerts, const QLocale &locale);

} // namespace voltwise
