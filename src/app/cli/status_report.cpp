#include "app/cli/status_report.h"

#include <QJsonArray>

namespace voltwise {

namespace {

// Date and time apart: a wall-clock time that the local zone skips (a
// daylight-saving gap) makes no valid QDateTime, yet the operator wrote it.
QJsonValue dateValue(OleDate value)
{
    const QDate date = value.date();
    const QTime time = value.time();
    if (value.isZero() || !date.isValid() || !time.isValid())
        return QJsonValue::Null;
    return date.toString(u"yyyy-MM-dd"_qs) + u'T' + time.toString(u"HH:mm:ss"_qs);
}

QJsonObject gridStatusJson(const GridStatus &s)
{
    return QJsonObject{
        {u"ActualDemand"_qs, s.ActualDemand},
        {u"ActualDemandTime"_qs, dateValue(s.ActualDemandTime)},
        {u"AvailableResources"_qs, s.AvailableResources},
        {u"AvailableResourcesTime"_qs, dateValue(s.AvailableResourcesTime)},
        {u"ForecastKind"_qs, s.ForecastKind},
        {u"NoticeStart"_qs, dateValue(s.NoticeStart)},
        {u"NoticeEnd"_qs, dateValue(s.NoticeEnd)},
        {u"NoticeValue"_qs, s.NoticeValue},
        {u"Interruption1"_qs, s.Interruption1},
        {u"Interruption2"_qs, s.Interruption2},
        {u"Interruption3"_qs, s.Interruption3},
        {u"Interruption4"_qs, s.Interruption4},
        {u"Interruption5"_qs, s.Interruption5},
        {u"ReserveMargin"_qs, s.ReserveMargin},
        {u"Level"_qs, s.Level},
        {u"LevelStart"_qs, dateValue(s.LevelStart)},
        {u"LevelEnd"_qs, dateValue(s.LevelEnd)},
        {u"ForecastPeakToday"_qs, s.ForecastPeakToday},
        {u"PeakDemandToday"_qs, s.PeakDemandToday},
        {u"ForecastPeakTomorrow"_qs, s.ForecastPeakTomorrow},
        {u"Produced"_qs, dateValue(s.Produced)},
    };
}

template <typename Container>
QJsonArray boolArray(const Container &values)
{
    QJsonArray array;
    for (const bool value : values)
        array.append(value);
    return array;
}

template <typename Container>
QJsonArray textArray(const Container &values)
{
    QJsonArray array;
    for (const QString &value : values)
        array.append(value);
    return array;
}

QJsonArray outlookJson(const OutlookValues &outlook)
{
    QJsonArray rows;
    for (int hour = 1; hour <= OutlookHourCount; ++hour) {
        QJsonArray row;
        for (int series = 1; series <= OutlookSeriesCount; ++series) {
            const double value = outlook.value(hour, series);
            row.append(value == HoleValue ? QJsonValue(QJsonValue::Null) : QJsonValue(value));
        }
        rows.append(row);
    }
    return rows;
}

QJsonValue optionalText(const std::optional<QString> &text)
{
    return text ? QJsonValue(*text) : QJsonValue(QJsonValue::Null);
}

} // namespace

QJsonObject StatusReportJson(const StatusReport &r)
{
    return QJsonObject{
        {u"gridStatus"_qs, gridStatusJson(r.data.Status)},
        {u"published"_qs, QJsonObject{{u"UpdateTime"_qs, r.published.UpdateTime},
                                      {u"SystemCondition"_qs, r.published.SystemCondition},
                                      {u"CurrentLoad"_qs, r.published.CurrentLoad}}},
        {u"trayTip"_qs, optionalText(r.presentation.trayTip)},
        {u"statusText"_qs, optionalText(r.presentation.lblStatusText)},
        {u"iconIndex"_qs, r.presentation.imageIndex ? QJsonValue(*r.presentation.imageIndex)
                                                    : QJsonValue(QJsonValue::Null)},
        {u"levelScale"_qs, boolArray(r.presentation.lblStatus)},
        {u"forecastScale"_qs, boolArray(r.presentation.lblForecast)},
        {u"conditions"_qs, textArray(r.presentation.lblCurrentCondition)},
        {u"loadReductions"_qs, textArray(r.presentation.lblLoadReduction)},
        {u"noticesText"_qs, r.data.Notices.NoticesText},
        {u"statusTableText"_qs, r.data.Notices.StatusTableText},
        {u"forecastsText"_qs, r.data.ForecastsText},
        {u"outlook"_qs, outlookJson(r.data.Outlook)},
        {u"chartHeader"_qs, textArray(r.chartHeader.lines())},
        {u"operatorStatus"_qs, textArray(r.data.OperatorStatus)},
        {u"noticeHeader"_qs,
         r.notice ? QJsonValue(r.notice->NoticeHeader) : QJsonValue(QJsonValue::Null)},
    };
}

QString StatusReportText(const StatusReport &r)
{
    static const QStringList figureCaptions = {u""_qs,
                                               u"Current Available Resources:"_qs,
                                               u"Current System Load:"_qs,
                                               u"Surplus or Shortfall:"_qs,
                                               u"Today's Actual Peak:"_qs,
                                               u"Today's Forecasted Peak:"_qs,
                                               u"Tomorrow's Forecasted Peak:"_qs};
    static const QStringList reductionCaptions = {u""_qs,
                                                  u""_qs,
                                                  u"Total Interruptions:"_qs,
                                                  u"PG&E Service Territory:"_qs,
                                                  u"SCE Service Territory:"_qs,
                                                  u"SDG&E Service Territory:"_qs,
                                                  u"Pasadena Municipal Utility:"_qs,
                                                  u"Vernon Municipal Utility:"_qs};
    const StatusPresentation &p = r.presentation;
    QString out;
    out += r.published.SystemCondition + u'\n';
    out += p.lblCurrentCondition[0] + u'\n';
    for (int i = 1; i < 7; ++i)
        out += figureCaptions[i].rightJustified(30) + p.lblCurrentCondition[i] + u'\n';
    out += u'\n' + p.lblLoadReduction[0] + u": "_qs + p.lblLoadReduction[1] + u'\n';
    for (int i = 2; i < 8; ++i)
        out += reductionCaptions[i].rightJustified(30) + p.lblLoadReduction[i] + u'\n';
    QString notices = r.data.Notices.NoticesText;
    QString forecasts = r.data.ForecastsText;
    notices.replace(u"\r\n"_qs, u"\n"_qs);
    forecasts.replace(u"\r\n"_qs, u"\n"_qs);
    if (!notices.isEmpty())
        out += u'\n' + notices + u'\n';
    if (!forecasts.isEmpty())
        out += u'\n' + forecasts + u'\n';
    return out;
}

} // namespace voltwise
