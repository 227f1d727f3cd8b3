#pragma once

#include "graph/chart_header.h"
#include "graph/chart_series.h"
#include "graph/gui/load_chart.h"
#include "model/grid_status.h"
#include "model/outlook_values.h"

#include <QList>
#include <QLocale>
#include <QWidget>

class QLabel;

namespace voltwise {

// The Graph panel picGraph: the load chart chtMain over the operator's
// picture imgGraph. The chart is built the first time the panel is seen with
// the chart in use; until then the panel holds its data, header and series
// choice, and hands them over when it builds it.
class GraphPanel : public QWidget
{
    Q_OBJECT

public:
    // loadChart gives the chart module's entry point, null when it has none.
    explicit GraphPanel(const QLocale &locale, NewLoadChart (*loadChart)() = LoadChartModule,
                        QWidget *parent = nullptr);

    // The picture step: bytes that decode replace the picture; anything else
    // leaves the previous one shown.
    bool showPicture(const QByteArray &bytes);
    // The chart step of a refresh: hours 1 to 24, the outlook figures, and
    // the header for the status.
    void chartStep(const OutlookValues &values, const GridStatus &status);
    void showSeries(const SeriesVisibility &shown);
    // The chart, or the picture under it.
    void setChartShown(bool shown);

    const ChartHeader &header() const { return m_header; }
    bool isChartShown() const { return m_chartShown; }
    // Null until the chart is first needed on screen.
    LoadChart *chart() const { return m_chart; }
    QLabel *picture() const { return imgGraph; }

Q_SIGNALS:
    void readoutChanged(const QString &text);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildChartWhenSeen();

    QLocale m_locale;
    NewLoadChart (*m_loadChart)();
    QLabel *imgGraph = nullptr;
    LoadChart *m_chart = nullptr;
    bool m_chartShown = true;
    bool m_chartFailed = false;
    QList<double> m_xs;
    OutlookValues m_values;
    ChartHeader m_header;
    SeriesVisibility m_shown{true, true, true, true};
};

} // namespace voltwise
