#include "graph/chart_series.h"

#include <QCoreApplication>

namespace voltwise {

namespace {

// The page's row keys again, as literals that lupdate can read.
constexpr std::array<const char *, OutlookSeriesCount> kSeriesNames = {
    QT_TRANSLATE_NOOP("Chart", "Day-Ahead Demand Forecast"),
    QT_TRANSLATE_NOOP("Chart", "Hour-Ahead Demand Forecast"),
    QT_TRANSLATE_NOOP("Chart", "Actual Demand"),
    QT_TRANSLATE_NOOP("Chart", "Available Resources"),
};

constexpr bool sameText(QStringView key, const char *name)
{
    qsizetype i = 0;
    for (; name[i] != 0; ++i)
        if (i >= key.size() || key.at(i) != QLatin1Char(name[i]))
            return false;
    return i == key.size();
}

static_assert([] {
    for (std::size_t s = 0; s < kSeriesNames.size(); ++s)
        if (!sameText(OutlookSeriesNames[s], kSeriesNames[s]))
            return false;
    return true;
}());

} // namespace

QString ShownSeriesName(int series)
{
    if (series < 1 || series > OutlookSeriesCount)
        return {};
    return QCoreApplication::translate("Chart", kSeriesNames[std::size_t(series - 1)]);
}

SeriesVisibility SeriesShown(qint32 graphValues)
{
    SeriesVisibility shown{};
    for (int i = 0; i < OutlookSeriesCount; ++i)
        shown[std::size_t(i)] = (graphValues >> i) & 1;
    return shown;
}

qint32 FlipGraphValue(qint32 graphValues, int index)
{
    if (index < 1 || index > OutlookSeriesCount)
        return graphValues;
    return graphValues ^ (qint32(1) << (index - 1));
}

} // namespace voltwise
