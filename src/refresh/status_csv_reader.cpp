#include "refresh/status_csv_reader.h"

#include "core/conversions.h"
#include "core/plausible_values.h"
#include "core/text_helpers.h"

#include <array>
#include <optional>

namespace voltwise {

namespace {

// Columns 0 to 8 are all any row uses; the rest of a line is never split.
constexpr qsizetype kUsedColumns = 9;

// The time, a blank and a four-digit year must all fit without overlapping.
constexpr qsizetype kMinProducedLength = 24;

class Columns
{
public:
    explicit Columns(QStringView line)
    {
        qsizetype start = 0;
        while (m_count < kUsedColumns) {
            const qsizetype comma = line.indexOf(u',', start);
            if (comma < 0) {
                m_columns[m_count++] = line.sliced(start);
                break;
            }
            m_columns[m_count++] = line.sliced(start, comma - start);
            start = comma + 1;
        }
    }

    qsizetype count() const { return m_count; }

    std::optional<QStringView> at(qsizetype index) const
    {
        if (index >= m_count)
            return std::nullopt;
        return m_columns[index];
    }

private:
    std::array<QStringView, kUsedColumns> m_columns{};
    qsizetype m_count = 0;
};

class RowReader
{
public:
    RowReader(const Columns &columns, const QLocale &locale)
        : m_columns(columns)
        , m_locale(locale)
    {}

    // A figure that cannot be meant counts as one that does not convert.
    void number(qsizetype column, double &field) const
    {
        if (const auto text = m_columns.at(column))
            if (const auto value = TextToNumber(*text, m_locale);
                value && IsPlausibleMegawatts(*value))
                field = *value;
    }

    void date(qsizetype column, OleDate &field) const
    {
        if (const auto text = m_columns.at(column))
            if (const auto value = TextToDate(*text, m_locale))
                field = *value;
    }

    std::optional<QStringView> text(qsizetype column) const { return m_columns.at(column); }

private:
    const Columns &m_columns;
    const QLocale &m_locale;
};

std::optional<ConditionLevel> levelFromText(QStringView text)
{
    struct Entry
    {
        const char16_t *text;
        ConditionLevel level;
    };
    static constexpr std::array<Entry, 7> levels = {{
        {u"NORMAL", LevelNormal},
        {u"ALERT", LevelAlert},
        {u"WARNING", LevelWarning},
        {u"STAGE 1", LevelStage1},
        {u"STAGE 2", LevelStage2},
        {u"STAGE 3", LevelStage3},
        {u"STAGE 3 LOAD INTERRUPTIONS", LevelLoadInterruptions},
    }};
    for (const Entry &entry : levels)
        if (text == QStringView(entry.text))
            return entry.level;
    return std::nullopt;
}

void readSystemStatus(const RowReader &row, GridStatus &status)
{
    if (const auto level = levelFromText(row.text(1).value_or(QStringView())))
        status.Level = *level;
    if (status.Level != LevelNormal) {
        row.date(2, status.LevelStart);
        row.date(3, status.LevelEnd);
    }
    if (status.Level == LevelLoadInterruptions) {
        row.number(4, status.Interruption1);
        row.number(5, status.Interruption2);
        row.number(6, status.Interruption3);
        row.number(7, status.Interruption5);
        row.number(8, status.Interruption4);
    }
}

// "Fri Sep 14 14:30:00 PDT 2001" becomes "Sep 14 2001 14:30:00".
void readProduced(const RowReader &row, const QLocale &locale, GridStatus &status)
{
    const auto text = row.text(1);
    if (!text || text->size() < kMinProducedLength)
        return;
    QString rebuilt;
    rebuilt.append(text->sliced(4, 7)).append(text->last(4)).append(text->sliced(10, 9));
    if (const auto value = TextToDate(rebuilt, locale))
        status.Produced = *value;
}

void readLine(QStringView rawLine, const QLocale &locale, GridStatus &status)
{
    // TrimLineBreaks removes the blanks at both ends before the line breaks.
    const QString line = TrimLineBreaks(rawLine).toUpper();
    const Columns columns(line);
    if (columns.count() < 2)
        return;
    const QString keyword = TrimLineBreaks(*columns.at(0));
    const RowReader row(columns, locale);

    if (keyword == u"PRODUCED") {
        readProduced(row, locale, status);
    } else if (keyword == u"ACTUAL DEMAND") {
        row.number(1, status.ActualDemand);
        row.date(2, status.ActualDemandTime);
    } else if (keyword == u"AVAILABLE RESOURCES") {
        row.number(1, status.AvailableResources);
        row.date(2, status.AvailableResourcesTime);
        status.ReserveMargin = status.AvailableResources - status.ActualDemand;
    } else if (keyword == u"PEAK DEMAND TODAY") {
        row.number(1, status.PeakDemandToday);
    } else if (keyword == u"FORECAST PEAK DEMAND TODAY") {
        row.number(1, status.ForecastPeakToday);
    } else if (keyword == u"FORECAST PEAK DEMAND TOMORROW") {
        row.number(1, status.ForecastPeakTomorrow);
    } else if (keyword == u"SYSTEM STATUS") {
        readSystemStatus(row, status);
    } else if (keyword == u"48 HOUR FORECAST NOTICE" || keyword == u"24 HOUR FORECAST NOTICE") {
        row.date(2, status.NoticeStart);
        row.date(3, status.NoticeEnd);
    } else if (keyword == u"1 HOUR FORECAST NOTICE") {
        row.date(2, status.NoticeStart);
        row.date(3, status.NoticeEnd);
        row.number(4, status.NoticeValue);
    }
}

} // namespace

GridStatus ReadStatusCsv(QStringView text, const GridStatus &previous)
{
    const QLocale locale = OperatorLocale();
    GridStatus status = previous;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        readLine(text.sliced(start, end - start), locale, status);
        start = end + 1;
    }
    return status;
}

} // namespace voltwise
