#include "gridsim/current_feeds_writer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

#include <array>
#include <cmath>

namespace voltwise::gridsim {

namespace {

// Five-minute deviations that sum to zero, so an hour's mean is its figure.
constexpr std::array<int, 12> kFiveMinuteWobble = {-6, -4, -2, 0, 2, 4, 6, 4, 2, 0, -2, -4};

qint64 Whole(double value)
{
    return std::llround(value);
}

QString Stamp(const QDateTime &time, QStringView format)
{
    return QLocale::c().toString(time, format);
}

QJsonObject Event(int id, const QDateTime &start, const QDateTime &end, const QString &regions)
{
    return {{u"ID"_qs, id},
            {u"Title"_qs, u"Flex alert for "_qs + Stamp(start, u"MM/dd/yyyy")},
            {u"StartDate"_qs, Stamp(start, u"MM-dd-yyyy HH:mm")},
            {u"EndDate"_qs, Stamp(end, u"MM-dd-yyyy HH:mm")},
            {u"Region"_qs, regions}};
}

} // namespace

QStringList OperatorWordsOf(ConditionLevel level)
{
    static const std::array<QString, 5> emergencies = {
        u"EEA Watch"_qs, u"EEA 1"_qs, u"EEA 2"_qs, u"EEA 3"_qs,
        u"EEA 3 - Ordering rotating power outages"_qs};
    if (level <= LevelNormal)
        return {u"Normal"_qs};
    if (level == LevelAlert)
        return {u"Flex Alert"_qs};
    return {emergencies[std::size_t(level - LevelWarning)], u"Flex Alert"_qs};
}

QByteArray WriteStatsJson(const GridSnapshot &s)
{
    QJsonArray words;
    for (const QString &word : OperatorWordsOf(s.level))
        words.append(word);
    const QJsonObject json{{u"slotDate"_qs, Stamp(s.measured, u"MM/dd/yyyy HH:mm")},
                           {u"CurrentSystemDemand"_qs, Whole(s.actualDemand)},
                           {u"CurrentSystemDemandTS"_qs, Stamp(s.measured, u"yyyyMMddHHmm")},
                           {u"Current_reserve"_qs, Whole(s.availableResources - s.actualDemand)},
                           {u"TodaysPeakDemand"_qs, Whole(s.peakDemandToday)},
                           {u"todayForecastPeakDemand"_qs, Whole(s.forecastPeakToday)},
                           {u"tomorrowsForecastPeakDemand"_qs, Whole(s.forecastPeakTomorrow)},
                           {u"gridstatus"_qs, words}};
    return QJsonDocument(json).toJson(QJsonDocument::Compact);
}

QByteArray WriteDemandCsv(const GridSnapshot &s)
{
    QByteArray csv =
        "Time,Day ahead forecast,Hour ahead forecast,Current demand,Demand response\r\n";
    for (int row = 0; row <= 24 * 12; ++row) {
        const HourFigures &h = s.hours[std::size_t(row / 12 % 24)];
        const QTime time = QTime(0, 0).addSecs(row * 5 * 60);
        QByteArray actual;
        if (h.actual && row < 24 * 12)
            actual =
                QByteArray::number(Whole(*h.actual) + kFiveMinuteWobble[std::size_t(row % 12)]);
        csv += time.toString(u"HH:mm"_qs).toLatin1() + ',' + QByteArray::number(Whole(h.dayAhead)) +
               ',' + QByteArray::number(Whole(h.hourAhead)) + ',' + actual + ",\r\n";
    }
    return csv;
}

QByteArray WriteFlexAlertEvents(const GridSnapshot &s)
{
    QJsonArray active, future;
    if (s.level >= LevelAlert)
        active.append(Event(1 + s.step / ScenarioPeriod(s.scenario), s.levelStart, s.levelEnd,
                            u"CAISO Grid"_qs));
    if (const auto &notice = s.forecastNotice; notice && notice->start.date() > s.produced.date())
        future.append(Event(1000 + s.step, notice->start, notice->end,
                            u"Northern CA Region, Southern CA Region"_qs));
    const QJsonObject json{{u"IsFlexAlertActive"_qs, !active.isEmpty()},
                           {u"UpdatedOn"_qs, s.produced.toUTC().toString(Qt::ISODate)},
                           {u"Active"_qs, active},
                           {u"Future"_qs, future}};
    return QJsonDocument(json).toJson(QJsonDocument::Indented);
}

} // namespace voltwise::gridsim
