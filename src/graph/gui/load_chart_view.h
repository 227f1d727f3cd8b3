#pragma once

#include "graph/chart_readout.h"
#include "graph/gui/load_chart.h"

#include <QChartView>
#include <QList>
#include <QLocale>

#include <array>
#include <vector>

class QGraphicsLineItem;
class QLineSeries;
class QValueAxis;

namespace voltwise {

// The load chart chtMain: the four series by hour ending with their point
// markers, holes as gaps, the two-line header, and the crosshair read-out
// of the point under the pointer.
class LoadChartView : public QChartView, public LoadChart
{
    Q_OBJECT

public:
    explicit LoadChartView(const QLocale &locale, QWidget *parent = nullptr);

    QWidget *widget() override { return this; }
    void setData(const QList<double> &xs, const OutlookValues &values) override;
    void setHeader(const ChartHeader &header) override;
    void setSeriesShown(const SeriesVisibility &shown) override;

    // The curve pieces of series 1 to 4 that hold points.
    QList<QLineSeries *> drawnSegments(int series) const;
    QValueAxis *valueAxis() const { return m_axisY; }
    QGraphicsLineItem *crosshairX() const { return m_crosshairX; }
    QGraphicsLineItem *crosshairY() const { return m_crosshairY; }
    // The plot area in the chart's coordinates, which are the view's.
    PlotFrame plotFrame() const;

Q_SIGNALS:
    // The read-out for the status bar; empty when the pointer left the plot.
    void readoutChanged(const QString &text);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QLineSeries *addSegment(int series);
    void hideExtraLegendEntries();
    void rescale();
    void placeLegend();
    void placeCrosshair();
    void clearReadout();

    QLocale m_locale;
    QValueAxis *m_axisX = nullptr;
    QValueAxis *m_axisY = nullptr;
    // Per series its curve pieces; the first carries the legend entry.
    std::array<std::vector<QLineSeries *>, OutlookSeriesCount> m_segments;
    QGraphicsLineItem *m_crosshairX = nullptr;
    QGraphicsLineItem *m_crosshairY = nullptr;
    QPointF m_marked; // the value the crosshair points at
    QList<double> m_xs;
    OutlookValues m_values;
    SeriesVisibility m_shown{true, true, true, true};
};

} // namespace voltwise
