#pragma once

#include "graph/chart_header.h"
#include "graph/chart_series.h"
#include "model/outlook_values.h"

#include <QList>
#include <QLocale>
#include <QString>

#include <functional>

class QWidget;

namespace voltwise {

// What the Graph panel asks of its chart. The chart lives in a module of its
// own, loaded the first time it is needed, so that a program that stays in
// the tray never loads Qt Charts.
class LoadChart
{
public:
    virtual ~LoadChart() = default;
    // The chart's widget, owned by its Qt parent.
    virtual QWidget *widget() = 0;
    // Each a complete change; the caller holds repainting around a batch.
    virtual void setData(const QList<double> &xs, const OutlookValues &values) = 0;
    virtual void setHeader(const ChartHeader &header) = 0;
    virtual void setSeriesShown(const SeriesVisibility &shown) = 0;
};

// The text for the status bar as the pointer moves; empty when it leaves the plot.
using ReadoutHandler = std::function<void(const QString &text)>;

// The module's entry point, exported as "voltwise_new_load_chart".
using NewLoadChart = LoadChart *(*)(const QLocale &locale, QWidget *parent, ReadoutHandler readout);

// Loads the chart module once; null when it cannot be loaded.
NewLoadChart LoadChartModule();

} // namespace voltwise
