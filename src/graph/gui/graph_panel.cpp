#include "graph/gui/graph_panel.h"

#include "core/twips.h"
#include "graph/chart_plot.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMessageBox>

namespace voltwise {

namespace {

const QRect kGraphRect = TwipsRect(0, 0, 4530, 4515);

// Paints a batch of chart changes at once, never half of it.
class RepaintHold
{
public:
    explicit RepaintHold(QWidget *widget)
        : m_widget(widget)
    {
        m_widget->setUpdatesEnabled(false);
    }
    ~RepaintHold() { m_widget->setUpdatesEnabled(true); }
    RepaintHold(const RepaintHold &) = delete;
    RepaintHold &operator=(const RepaintHold &) = delete;

private:
    QWidget *m_widget;
};

void ShowSetupError(QWidget *parent)
{
    auto *box = new QMessageBox(
        QMessageBox::Critical, u"Voltwise"_qs,
        QCoreApplication::translate("Chart", "Error in 'SetupOutlookInfo' Subroutine"),
        QMessageBox::Ok, parent);
    box->setObjectName(u"msgSetupOutlookInfo"_qs);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

} // namespace

GraphPanel::GraphPanel(const QLocale &locale, NewLoadChart (*loadChart)(), QWidget *parent)
    : QWidget(parent)
    , m_locale(locale)
    , m_loadChart(loadChart)
    , m_xs(MakeSequence(1, 1, OutlookHourCount))
{
    setObjectName(u"picGraph"_qs);
    imgGraph = new QLabel(this);
    imgGraph->setObjectName(u"imgGraph"_qs);
    imgGraph->setGeometry(kGraphRect);
    imgGraph->setScaledContents(true);
    imgGraph->hide();
}

bool GraphPanel::showPicture(const QByteArray &bytes)
{
    QPixmap picture;
    if (bytes.size() < 2 || !picture.loadFromData(bytes))
        return false;
    imgGraph->setPixmap(picture);
    return true;
}

void GraphPanel::chartStep(const OutlookValues &values, const GridStatus &status)
{
    const QList<double> xs = MakeSequence(1, 1, OutlookHourCount);
    const ChartHeader header = NextChartHeader(status, m_header, m_locale);
    const bool newData = xs != m_xs || values != m_values;
    const bool newHeader = header != m_header;
    m_xs = xs;
    m_values = values;
    m_header = header;
    // Unchanged figures cost no repaint.
    if (!m_chart || (!newData && !newHeader))
        return;
    RepaintHold hold(m_chart->widget());
    if (newData)
        m_chart->setData(m_xs, m_values);
    if (newHeader)
        m_chart->setHeader(m_header);
}

void GraphPanel::showSeries(const SeriesVisibility &shown)
{
    const bool changed = shown != m_shown;
    m_shown = shown;
    if (!m_chart || !changed)
        return;
    RepaintHold hold(m_chart->widget());
    m_chart->setSeriesShown(m_shown);
}

void GraphPanel::setChartShown(bool shown)
{
    m_chartShown = shown;
    if (m_chart)
        m_chart->widget()->setVisible(shown);
    else
        buildChartWhenSeen();
    // The picture lies under the chart; hidden behind it, it need not paint.
    imgGraph->setVisible(!shown || m_chartFailed);
}

void GraphPanel::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    buildChartWhenSeen();
}

void GraphPanel::buildChartWhenSeen()
{
    if (m_chart || m_chartFailed || !m_chartShown || !isVisible())
        return;
    const NewLoadChart newChart = m_loadChart();
    if (!newChart) {
        // Once is enough: the picture stays in place of the chart.
        m_chartFailed = true;
        imgGraph->show();
        ShowSetupError(window());
        return;
    }
    LoadChart *chart =
        newChart(m_locale, this, [this](const QString &text) { Q_EMIT readoutChanged(text); });
    QWidget *view = chart->widget();
    view->setGeometry(kGraphRect);
    {
        RepaintHold hold(view);
        chart->setData(m_xs, m_values);
        chart->setHeader(m_header);
        chart->setSeriesShown(m_shown);
    }
    view->show();
    m_chart = chart;
}

} // namespace voltwise
