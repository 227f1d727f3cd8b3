// The chart module's entry point: the only symbol it exports.
#include "graph/gui/load_chart_view.h"

extern "C" Q_DECL_EXPORT voltwise::LoadChart *
voltwise_new_load_chart(const QLocale &locale, QWidget *parent, voltwise::ReadoutHandler readout)
{
    auto *chart = new voltwise::LoadChartView(locale, parent);
    QObject::connect(chart, &voltwise::LoadChartView::readoutChanged, chart, std::move(readout));
    return chart;
}
