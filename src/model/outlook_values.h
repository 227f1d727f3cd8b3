#pragma once

#include <QStringView>
#include <QtGlobal>

#include <array>
#include <bitset>
#include <cstddef>

namespace voltwise {

inline constexpr int OutlookHourCount = 24;
inline constexpr int OutlookSeriesCount = 4;

// Stored for an empty cell of the outlook page; the chart draws no point there.
inline constexpr double HoleValue = 1E+308;

// The load series in chart order (series 1 first). They are also the row
// keys of the outlook page, so the chart and the reader must share them.
inline constexpr std::array<QStringView, OutlookSeriesCount> OutlookSeriesNames = {
    u"Day-Ahead Demand Forecast",
    u"Hour-Ahead Demand Forecast",
    u"Actual Demand",
    u"Available Resources",
};

// The day's hourly megawatt figures: hour ending 1 to 24 by series 1 to 4,
// every value 0 until something is stored. Whether a value was ever stored
// is kept too, so that a figure never read is not drawn as a load of zero.
class OutlookValues
{
public:
    double value(int hourEnding, int series) const { return m_values[index(hourEnding, series)]; }
    void setValue(int hourEnding, int series, double megawatts)
    {
        m_values[index(hourEnding, series)] = megawatts;
        m_stored.set(index(hourEnding, series));
    }
    bool isStored(int hourEnding, int series) const
    {
        return m_stored.test(index(hourEnding, series));
    }

    static bool isValidIndex(int hourEnding, int series)
    {
        return hourEnding >= 1 && hourEnding <= OutlookHourCount && series >= 1 &&
               series <= OutlookSeriesCount;
    }

    friend bool operator==(const OutlookValues &, const OutlookValues &) = default;

private:
    static std::size_t index(int hourEnding, int series)
    {
        Q_ASSERT(isValidIndex(hourEnding, series));
        return std::size_t(hourEnding - 1) * OutlookSeriesCount + std::size_t(series - 1);
    }

    std::array<double, OutlookHourCount * OutlookSeriesCount> m_values{};
    std::bitset<OutlookHourCount * OutlookSeriesCount> m_stored;
};

} // namespace voltwise
