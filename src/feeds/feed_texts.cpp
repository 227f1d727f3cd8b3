#include "feeds/feed_texts.h"

#include "core/conversions.h"
#include "feeds/operator_words.h"

namespace voltwise {

namespace {

const QString kLineBreak = u"\r\n"_qs;

QString EventTime(const std::optional<OleDate> &date, const QString &published,
                  const QLocale &locale)
{
    return date ? FormatGeneralDate(*date, locale) : published;
}

QString EventsText(const QList<FlexAlertEvent> &events, const QLocale &locale)
{
    QStringList blocks;
    for (const FlexAlertEvent &e : events) {
        QStringList lines{e.title.isEmpty() ? u"Flex Alert"_qs : e.title,
                          u"Start: "_qs + EventTime(e.start, e.startText, locale),
                          u"End: "_qs + EventTime(e.end, e.endText, locale)};
        if (!e.regions.isEmpty())
            lines << u"Regions: "_qs + e.regions.join(u", "_qs);
        blocks << lines.join(kLineBreak);
    }
    return blocks.join(kLineBreak + kLineBreak);
}

QString GridStatusLine(const QStringList &operatorStatus)
{
    return u"Grid status: "_qs + OperatorStatusText(operatorStatus);
}

} // namespace

NoticesTexts FeedNoticesTexts(const QStringList &operatorStatus,
                              const std::optional<FlexAlertEvents> &flexAlerts,
                              const QLocale &locale)
{
    const QList<FlexAlertEvent> active = flexAlerts ? flexAlerts->active : QList<FlexAlertEvent>();
    QStringList table;
    if (!operatorStatus.isEmpty())
        table << GridStatusLine(operatorStatus);
    for (const FlexAlertEvent &e : active)
        table << u"Flex Alert %1: %2"_qs.arg(e.id, e.title);

    QString notices = u"Current Active Notice(s): "_qs + kLineBreak + kLineBreak;
    if (!operatorStatus.isEmpty())
        notices += GridStatusLine(operatorStatus) + kLineBreak + kLineBreak;
    notices += active.isEmpty() ? u"No active notices are being issued at this time."_qs
                                : EventsText(active, locale);
    return {notices, table.join(kLineBreak)};
}

QString FeedForecastsText(const FlexAlertEvents &flexAlerts, const QLocale &locale)
{
    return u"Current Active Forecast(s): "_qs + kLineBreak + kLineBreak +
           (flexAlerts.future.isEmpty()
                ? u"No forecasts of load reductions are being issued at this time."_qs
                : EventsText(flexAlerts.future, locale));
}

} // namespace voltwise
