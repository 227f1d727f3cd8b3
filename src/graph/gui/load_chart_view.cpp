#include "graph/gui/load_chart_view.h"

#include "graph/chart_plot.h"
#include "graph/chart_series.h"

#include <QCoreApplication>
#include <QGraphicsLayout>
#include <QGraphicsLineItem>
#include <QGuiApplication>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace voltwise {

namespace {

constexpr int kMargin = 2;
constexpr qreal kFontPoints = 7.5;
constexpr qreal kHeaderPoints = 8;

QPen SeriesPen(const ChartSeriesStyle &style)
{
    QPen pen(QColor(style.red, style.green, style.blue), 2);
    pen.setStyle(style.lineStyle == LineStyleDashed ? Qt::DashLine : Qt::SolidLine);
    return pen;
}

QFont ChartFont(const QFont &base, qreal points, bool bold = false)
{
    QFont font = base;
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QValueAxis *NewAxis(const QString &title, const QString &labelFormat, const QFont &font)
{
    auto *axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setTitleFont(font);
    axis->setLabelsFont(font);
    axis->setLabelFormat(labelFormat);
    return axis;
}

} // namespace

LoadChartView::LoadChartView(const QLocale &locale, QWidget *parent)
    // Built with its chart: a chart set later would leave the default one
    // behind, unowned.
    : QChartView(new QChart, parent)
    , m_locale(locale)
{
    setObjectName(u"chtMain"_qs);
    QChart *chart = this->chart();
    chart->setBackgroundRoundness(0);
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    // Axis labels follow the user's digit grouping.
    chart->setLocalizeNumbers(true);
    chart->setLocale(locale);
    chart->setTitleFont(ChartFont(font(), kHeaderPoints, true));
    const QFont small = ChartFont(font(), kFontPoints);

    // Localised labels need a precision in their format.
    m_axisX = NewAxis(QCoreApplication::translate("Chart", "Hour Ending"), u"%.0f"_qs, small);
    m_axisX->setRange(1, OutlookHourCount);
    // A tick at every hour, a label at every third: 24 labels would not fit.
    m_axisX->setTickType(QValueAxis::TicksDynamic);
    m_axisX->setTickAnchor(0);
    m_axisX->setTickInterval(3);
    m_axisX->setMinorTickCount(2);
    m_axisY = NewAxis(QCoreApplication::translate("Chart", "MW"), u"%.0f"_qs, small);
    chart->addAxis(m_axisX, Qt::AlignBottom);
    chart->addAxis(m_axisY, Qt::AlignLeft);

    for (int series = 1; series <= OutlookSeriesCount; ++series)
        addSegment(series);
    // Attached, the four names would share one row and be cut short; on its
    // own the legend wraps them into rows beneath the plot.
    QLegend *legend = chart->legend();
    legend->setFont(small);
    legend->setAlignment(Qt::AlignTop); // rows from the top down, in series order
    legend->detachFromChart();
    legend->setBackgroundVisible(false);

    QPen crosshairPen(QColor(64, 64, 64), 1, Qt::DotLine);
    m_crosshairX = new QGraphicsLineItem(chart);
    m_crosshairY = new QGraphicsLineItem(chart);
    for (QGraphicsLineItem *line : {m_crosshairX, m_crosshairY}) {
        line->setPen(crosshairPen);
        line->setZValue(1000); // above the curves
        line->hide();
    }
    connect(chart, &QChart::plotAreaChanged, this, &LoadChartView::placeCrosshair);

    setHeader(ChartHeader());
    rescale();
    setRenderHint(QPainter::Antialiasing);
    setFrameShape(QFrame::NoFrame);
    viewport()->setMouseTracking(true);
}

QLineSeries *LoadChartView::addSegment(int series)
{
    const auto s = std::size_t(series - 1);
    auto *line = new QLineSeries;
    line->setName(ShownSeriesName(series));
    line->setPen(SeriesPen(ChartSeriesStyles[s]));
    line->setPointsVisible(true);
    line->setMarkerSize(3);
    chart()->addSeries(line);
    line->attachAxis(m_axisX);
    line->attachAxis(m_axisY);
    line->setVisible(m_shown[s]);
    m_segments[s].push_back(line);
    return line;
}

void LoadChartView::setData(const QList<double> &xs, const OutlookValues &values)
{
    m_xs = xs;
    m_values = values;
    for (int series = 1; series <= OutlookSeriesCount; ++series) {
        const QList<QList<QPointF>> pieces = CurveSegments(xs, values, series);
        auto &segments = m_segments[std::size_t(series - 1)];
        while (segments.size() < std::size_t(pieces.size()))
            addSegment(series);
        for (std::size_t i = 0; i < segments.size(); ++i) {
            if (i < std::size_t(pieces.size()))
                segments[i]->replace(pieces[qsizetype(i)]);
            else
                segments[i]->clear();
        }
    }
    hideExtraLegendEntries();
    rescale();
    placeCrosshair();
}

void LoadChartView::setHeader(const ChartHeader &header)
{
    // The title is rich text: the lines break at <br>.
    QStringList lines = header.lines();
    for (QString &line : lines)
        line = line.toHtmlEscaped();
    chart()->setTitle(lines.join(u"<br>"_qs));
}

void LoadChartView::setSeriesShown(const SeriesVisibility &shown)
{
    m_shown = shown;
    for (std::size_t s = 0; s < m_segments.size(); ++s)
        for (QLineSeries *segment : m_segments[s])
            segment->setVisible(shown[s]);
    hideExtraLegendEntries();
    rescale();
    placeLegend();
    placeCrosshair();
}

QList<QLineSeries *> LoadChartView::drawnSegments(int series) const
{
    QList<QLineSeries *> drawn;
    for (QLineSeries *segment : m_segments[std::size_t(series - 1)])
        if (segment->count() > 0)
            drawn.append(segment);
    return drawn;
}

PlotFrame LoadChartView::plotFrame() const
{
    return {chart()->plotArea(), m_axisX->min(), m_axisX->max(), m_axisY->min(), m_axisY->max()};
}

void LoadChartView::hideExtraLegendEntries()
{
    // A legend entry per series, not per curve piece.
    for (const auto &segments : m_segments)
        for (std::size_t i = 1; i < segments.size(); ++i)
            for (QLegendMarker *marker : chart()->legend()->markers(segments[i]))
                marker->setVisible(false);
}

void LoadChartView::rescale()
{
    const ValueAxisRange range = ScaleValueAxis(m_values, m_shown);
    m_axisY->setRange(range.min, range.max);
    m_axisY->setTickCount(range.tickCount);
}

void LoadChartView::placeLegend()
{
    // Laid out first across the whole chart, the legend shows how many rows
    // its entries wrap into; then it gets just those, beneath the plot.
    QLegend *legend = chart()->legend();
    const QRectF whole = chart()->rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
    legend->setGeometry(whole);
    if (QGraphicsLayout *layout = legend->layout())
        layout->activate();
    qreal height = 0;
    for (const QGraphicsItem *group : legend->childItems())
        for (const QGraphicsItem *entry : group->childItems())
            if (entry->isVisible())
                height =
                    std::max(height, entry->mapRectToItem(legend, entry->boundingRect()).bottom());
    height = std::ceil(height) + kMargin;
    legend->setGeometry(QRectF(whole.left(), whole.bottom() - height, whole.width(), height));
    chart()->setMargins(QMargins(kMargin, kMargin, kMargin, int(height) + kMargin));
}

void LoadChartView::placeCrosshair()
{
    const PlotFrame frame = plotFrame();
    const QPointF at = frame.position(m_marked.x(), m_marked.y());
    m_crosshairX->setLine(at.x(), frame.area.top(), at.x(), frame.area.bottom());
    m_crosshairY->setLine(frame.area.left(), at.y(), frame.area.right(), at.y());
}

void LoadChartView::mouseMoveEvent(QMouseEvent *event)
{
    QChartView::mouseMoveEvent(event);
    const QPointF pointer = chart()->mapFromScene(mapToScene(event->position().toPoint()));
    const ChartReadout readout = ReadoutAt(plotFrame(), m_xs, m_values, m_shown, pointer,
                                           event->buttons() != Qt::NoButton, m_locale);
    switch (readout.action) {
    case ChartReadout::Action::Keep:
        break;
    case ChartReadout::Action::Clear:
        clearReadout();
        break;
    case ChartReadout::Action::Mark:
        m_marked = QPointF(readout.x, readout.y);
        placeCrosshair();
        m_crosshairX->show();
        m_crosshairY->show();
        Q_EMIT readoutChanged(readout.text);
        break;
    }
}

void LoadChartView::leaveEvent(QEvent *event)
{
    QChartView::leaveEvent(event);
    if (QGuiApplication::mouseButtons() == Qt::NoButton)
        clearReadout();
}

void LoadChartView::resizeEvent(QResizeEvent *event)
{
    QChartView::resizeEvent(event);
    placeLegend();
}

void LoadChartView::clearReadout()
{
    m_crosshairX->hide();
    m_crosshairY->hide();
    Q_EMIT readoutChanged(QString());
}

} // namespace voltwise
