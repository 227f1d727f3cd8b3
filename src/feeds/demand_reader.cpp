#include "feeds/demand_reader.h"

#include "core/conversions.h"
#include "core/plausible_values.h"

#include <QList>
#include <QStringTokenizer>
#include <QVarLengthArray>

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

int DigitValue(QChar c)
{
    return c >= u'0' && c <= u'9' ? c.unicode() - u'0' : -1;
}

// "H:MM" or "HH:MM" of the day (what QTime reads as "H:mm"); none for
// anything else. No date-time parser is built for a damaged cell.
std::optional<QTime> TimeOfRow(QStringView cell)
{
    cell = cell.trimmed();
    if ((cell.size() == 4 || cell.size() == 5) && cell[cell.size() - 3] == u':') {
        const int h1 = DigitValue(cell[0]);
        const int h2 = cell.size() == 5 ? DigitValue(cell[1]) : 0;
        const int m1 = DigitValue(cell[cell.size() - 2]);
        const int m2 = DigitValue(cell[cell.size() - 1]);
        const int hour = cell.size() == 5 ? h1 * 10 + h2 : h1;
        const int minute = m1 * 10 + m2;
        if (h1 >= 0 && h2 >= 0 && m1 >= 0 && m2 >= 0 && hour < 24 && minute < 60)
            return QTime(hour, minute);
    }
    return std::nullopt;
}

// A whole number of megawatts, the form of nearly every cell, is read
// directly; anything else goes through the operator's locale.
std::optional<double> CellNumber(QStringView cell)
{
    if (!cell.isEmpty() && cell.size() <= 15) {
        qint64 value = 0;
        qsizetype i = 0;
        for (; i < cell.size(); ++i) {
            const int d = DigitValue(cell[i]);
            if (d < 0)
                break;
            value = value * 10 + d;
        }
        if (i == cell.size())
            return double(value);
    }
    return TextToNumber(cell, OperatorLocale());
}

struct HourSum
{
    double sum = 0;
    int count = 0;
};

} // namespace

std::optional<DemandDay> ReadDemandCsv(QStringView text, const OutlookValues &previous,
                                       std::optional<ResourcesNow> resources, QString *problem)
{
    const auto refuse = [problem](const QString &why) {
        if (problem)
            *problem = why;
        return std::nullopt;
    };
    // Views into the text, not copies: the file is read at every refresh.
    auto lines = qTokenize(text, u'\n');
    auto line = lines.begin();
    while (line != lines.end() && (*line).trimmed().isEmpty())
        ++line;
    if (line == lines.end())
        return refuse(u"no demand columns"_qs);
    QStringView headerLine = (*line).trimmed();
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
        return refuse(u"no demand columns"_qs);

    std::array<std::array<HourSum, OutlookHourCount>, 3> sums{};
    DemandDay day{previous, std::nullopt};
    std::optional<QTime> last;
    QVarLengthArray<QStringView, 8> cells;
    for (++line; line != lines.end(); ++line) {
        cells.clear();
        for (QStringView cell : qTokenize((*line).trimmed(), u','))
            cells.append(cell);
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
            const auto value = CellNumber(cells[columns[s]]);
            if (!value)
                continue;
            if (!IsPlausibleMegawatts(*value))
                return refuse(u"implausible %1 %2 at %3"_qs.arg(kSeriesColumns[s],
                                                                QString::number(*value, 'g', 15),
                                                                time->toString(u"HH:mm"_qs)));
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
    // 0 MW is no reading: the summary has carried no reserve yet.
    if (resources && resources->time.isValid() && resources->megawatts > 0)
        day.values.setValue(resources->time.hour() + 1, 4, resources->megawatts);
    return day;
}

} // namespace voltwise
