#include "graph/chart_series.h"

namespace voltwise {

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
