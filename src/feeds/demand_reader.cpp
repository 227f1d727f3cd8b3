#include "feeds/demand_reader.h"

#include "core/conversions.h"

#include <QList>
#include <QStringList>

#include <array>

namespace voltwise {

namespace {

constexpr std::array<QStringView, 3> kSeriesColumns = {u"Day ahead forecast",
                                                       u"Hour ahead forecast", u"Current demand"};
constexpr int kActualSeries = 3;

qsizetype ColumnOf(const QList<QStringView> &header, QStringView name)
{
    for (qsizetype i = 0; i < header.size(); ++i)
        if (header[i].trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

// "HH:MM" of the day; none for anything else.
std::optional<QTime> TimeOfRow(QStringView cell)
{
    const QTime time = QTime::fromString(cell.trimmed().toString(), u"H:mm"_qs);
    return time.isValid() ? std::optional(time) : std::nullopt;
}

struct HourSum
{
    double sum = 0;
    int count = 0;
};

} // namespace

std::optional<DemandDay> ReadDemandCsv(QStringView text, const OutlookValues &previous,
                                       std::optional<ResourcesNow> resources)
{
    const QList<QStringView> lines = text.split(u'\n');
    qsizetype first = 0;
    while (first < lines.size() && lines[first].trimmed().isEmpty())
        ++first;
    if (first == lines.size())
        return std::nullopt;
    QStringView headerLine = lines[first].trimmed();
    if (headerLine.startsWith(u'\uFEFF'))
        headerLine = headerLine.sliced(1); // a byte-order mark the decoding kept
    const QList<QStringView> header = headerLine.split(u',');
    const qsizetype timeColumn = ColumnOf(header, u"Time");
    std::array<qsizetype, 3> columns{};
    bool anySeries = false;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        columns[i] = ColumnOf(header, kSeriesColumns[i]);
        anySeries = anySeries || columns[i] >= 0;
    }
    if (timeColumn < 0 || !anySeries)
        return std::nullopt;

    std::array<std::array<HourSum, OutlookHourCount>, 3> sums{};
    DemandDay day{previous, std::nullopt};
    std::optional<QTime> last;
    for (qsizetype l = first + 1; l < lines.size(); ++l) {
        const QList<QStringView> cells = lines[l].trimmed().split(u',');
        if (timeColumn >= cells.size())
            continue;
        const auto time = TimeOfRow(cells[timeColumn]);
        if (!time)
            continue;
        if (last && *time < *last)
            break; // the next day's first row
        last = time;
        const std::size_t hour = std::size_t(time->hour());
        for (std::size_t s = 0; s < columns.size(); ++s) {
            if (columns[s] < 0 || columns[s] >= cells.size())
                continue;
            const auto value = TextToNumber(cells[columns[s]], OperatorLocale());
            if (!value)
                continue;
            sums[s][hour].sum += *value;
            ++sums[s][hour].count;
            if (int(s) + 1 == kActualSeries)
                day.latestActual = *time;
        }
    }

    for (std::size_t s = 0; s < columns.size(); ++s) {
        if (columns[s] < 0)
            continue;
        for (int he = 1; he <= OutlookHourCount; ++he) {
            const HourSum &h = sums[s][std::size_t(he - 1)];
            day.values.setValue(he, int(s) + 1, h.count > 0 ? h.sum / h.count : HoleValue);
        }
    }
    for (int he = 1; he <= OutlookHourCount; ++he)
        day.values.setValue(he, 4, HoleValue);
    if (resources && resources->time.isValid())
        day.values.setValue(resources->time.hour() + 1, 4, resources->megawatts);
    return day;
}

} // namespace voltwise
