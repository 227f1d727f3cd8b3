#include "feeds/stats_reader.h"

#include "core/conversions.h"
#include "core/plausible_values.h"
#include "core/text_helpers.h"
#include "feeds/operator_dates.h"
#include "feeds/operator_words.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace voltwise {

namespace {

std::optional<double> NumberOf(const QJsonObject &json, QStringView key)
{
    const QJsonValue value = json.value(key);
    if (value.isDouble() && std::isfinite(value.toDouble()))
        return value.toDouble();
    if (value.isString())
        return TextToNumber(value.toString(), OperatorLocale());
    return std::nullopt;
}

std::optional<OleDate> DateOf(const QJsonObject &json, QStringView key)
{
    const QJsonValue value = json.value(key);
    if (value.isString())
        return ReadOperatorDate(value.toString());
    // A stamp written as a bare number: 202208311305.
    if (value.isDouble() && value.toDouble() >= 1e11 && value.toDouble() < 1e14)
        return ReadOperatorDate(QString::number(qint64(value.toDouble())));
    return std::nullopt;
}

std::optional<QStringList> WordsOf(const QJsonObject &json)
{
    const QJsonValue value = json.value(u"gridstatus");
    if (!value.isArray())
        return std::nullopt;
    QStringList words;
    for (const QJsonValue item : value.toArray())
        if (const QString word = WithoutDirectionControls(item.toString()).trimmed();
            item.isString() && !word.isEmpty())
            words << word;
    return words;
}

QString JsonText(const QJsonValue &value)
{
    return value.isString() ? value.toString() : QString::number(value.toDouble(), 'f', 0);
}

// The first figure or time of the summary that cannot be meant; empty when none.
QString Implausible(const QJsonObject &json, const QDateTime &operatorNow)
{
    for (const QStringView key : {u"CurrentSystemDemand", u"TodaysPeakDemand",
                                  u"todayForecastPeakDemand", u"tomorrowsForecastPeakDemand"})
        if (const auto value = NumberOf(json, key); value && !IsPlausibleMegawatts(*value))
            return u"implausible %1 %2"_qs.arg(key, QString::number(*value, 'g', 15));
    if (const auto reserve = NumberOf(json, u"Current_reserve");
        reserve && !IsPlausibleSurplus(*reserve))
        return u"implausible Current_reserve "_qs + QString::number(*reserve, 'g', 15);
    for (const QStringView key : {u"slotDate", u"CurrentSystemDemandTS"})
        if (const auto time = DateOf(json, key);
            time && !IsPlausibleTime(*time, operatorNow, kPlausibleStampDays))
            return u"implausible %1 %2"_qs.arg(key, JsonText(json.value(key)));
    return {};
}

} // namespace

std::optional<StatsSummary> ReadStatsSummary(QByteArrayView body, const GridStatus &previous,
                                             const QStringList &previousWords,
                                             const QDateTime &operatorNow, QString *problem)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(body.toByteArray(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        *problem = u"not valid JSON"_qs;
        return std::nullopt;
    }
    const QJsonObject json = document.object();
    if (QString why = Implausible(json, operatorNow); !why.isEmpty()) {
        *problem = why;
        return std::nullopt;
    }
    StatsSummary summary{previous, previousWords, std::nullopt};
    GridStatus &s = summary.status;
    s.ReductionsNotPublished = true;

    const auto slot = DateOf(json, u"slotDate");
    if (slot)
        s.Produced = *slot;
    if (const auto demand = NumberOf(json, u"CurrentSystemDemand"))
        s.ActualDemand = *demand;
    if (const auto stamp = DateOf(json, u"CurrentSystemDemandTS"))
        s.ActualDemandTime = *stamp;
    else if (slot)
        s.ActualDemandTime = *slot;
    summary.time = slot ? slot : DateOf(json, u"CurrentSystemDemandTS");
    // The operator's reserve is what is available beyond the demand.
    if (const auto reserve = NumberOf(json, u"Current_reserve")) {
        s.AvailableResources = s.ActualDemand + *reserve;
        s.AvailableResourcesTime = s.ActualDemandTime;
        s.ReserveMargin = s.AvailableResources - s.ActualDemand;
        if (!IsPlausibleMegawatts(s.AvailableResources)) {
            *problem =
                u"implausible resources "_qs + QString::number(s.AvailableResources, 'g', 15);
            return std::nullopt;
        }
    }
    if (const auto peak = NumberOf(json, u"TodaysPeakDemand"))
        s.PeakDemandToday = *peak;
    if (const auto forecast = NumberOf(json, u"todayForecastPeakDemand"))
        s.ForecastPeakToday = *forecast;
    if (const auto tomorrow = NumberOf(json, u"tomorrowsForecastPeakDemand"))
        s.ForecastPeakTomorrow = *tomorrow;
    if (const auto words = WordsOf(json)) {
        summary.operatorStatus = *words;
        if (const auto level = LevelOfOperatorWords(*words))
            s.Level = *level;
    }
    return summary;
}

} // namespace voltwise
