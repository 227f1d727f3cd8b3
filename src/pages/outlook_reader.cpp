#include "pages/outlook_reader.h"

#include "core/conversions.h"
#include "core/plausible_values.h"
#include "core/text_helpers.h"
#include "pages/page_sections.h"

namespace voltwise {

namespace {

constexpr int kTableCount = 2;
constexpr int kHoursPerTable = 12;
constexpr QStringView kCellOpen = u"<td";
constexpr QStringView kCellClose = u"</td>";

// Finds "</td>" and remembers where it was last missing: a cell without one
// is retried for every remaining cell of the read, and rescanning the rest
// of the page each time would make a hostile page quadratic.
class CellCloseFinder
{
public:
    explicit CellCloseFinder(QStringView page)
        : m_page(page)
        , m_missingFrom(page.size() + 1)
    {}

    qsizetype find(qsizetype from)
    {
        if (from >= m_missingFrom)
            return -1;
        const qsizetype at = m_page.indexOf(kCellClose, from);
        if (at < 0)
            m_missingFrom = from;
        return at;
    }

private:
    QStringView m_page;
    qsizetype m_missingFrom;
};

} // namespace

OutlookValues ReadOutlookPage(QStringView page, const OutlookValues &previous)
{
    OutlookValues values = previous;
    if (!IsReadablePage(page))
        return values;

    const QLocale locale = OperatorLocale();
    CellCloseFinder closeFinder(page);
    qsizetype cursor = 0;
    for (int table = 0; table < kTableCount; ++table) {
        for (int series = 1; series <= OutlookSeriesCount; ++series) {
            const qsizetype keyAt = page.indexOf(OutlookSeriesNames[series - 1], cursor);
            if (keyAt < 0)
                continue;
            cursor = keyAt;
            for (int k = 1; k <= kHoursPerTable; ++k) {
                const qsizetype openAt = page.indexOf(kCellOpen, cursor);
                if (openAt < 0)
                    return values;
                const qsizetype closeAt = closeFinder.find(openAt);
                if (closeAt < 0) {
                    cursor = openAt;
                    continue;
                }
                const qsizetype cellEnd = closeAt + kCellClose.size();
                const QString text =
                    TrimLineBreaks(StripTags(page.sliced(openAt, cellEnd - openAt)));
                const int hourEnding = kHoursPerTable * table + k;
                if (text.isEmpty())
                    values.setValue(hourEnding, series, HoleValue);
                else if (const auto number = TextToNumber(text, locale);
                         number && IsPlausibleMegawatts(*number)) // else as if unreadable
                    values.setValue(hourEnding, series, *number);
                cursor = cellEnd;
            }
        }
    }
    return values;
}

} // namespace voltwise
