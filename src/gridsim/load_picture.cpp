#include "gridsim/load_picture.h"

#include "gridsim/operator_format.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace voltwise::gridsim {

namespace {

constexpr double kMinMw = 15000;
constexpr double kMaxMw = 55000;
const QRectF kPlot(40, 20, kLoadPictureWidth - 50, kLoadPictureHeight - 42);

QPointF ToPoint(double hourOfDay, double mw)
{
    return {kPlot.left() + kPlot.width() * hourOfDay / 24.0,
            kPlot.bottom() - kPlot.height() * (mw - kMinMw) / (kMaxMw - kMinMw)};
}

void DrawGrid(QPainter &p, bool withText)
{
    p.setPen(QPen(QColor(210, 210, 210), 1));
    for (double mw = 20000; mw <= kMaxMw; mw += 10000)
        p.drawLine(ToPoint(0, mw), ToPoint(24, mw));
    for (int hour = 6; hour < 24; hour += 6)
        p.drawLine(ToPoint(hour, kMinMw), ToPoint(hour, kMaxMw));
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(kPlot);
    if (!withText)
        return;
    for (double mw = 20000; mw <= kMaxMw; mw += 10000)
        p.drawText(QRectF(0, ToPoint(0, mw).y() - 7, kPlot.left() - 4, 14),
                   Qt::AlignRight | Qt::AlignVCenter, QString::number(int(mw / 1000)) + u'k');
    for (int hour = 0; hour <= 24; hour += 6)
        p.drawText(QRectF(ToPoint(hour, kMinMw).x() - 15, kPlot.bottom() + 2, 30, 14),
                   Qt::AlignCenter, QString::number(hour));
}

void DrawSeries(QPainter &p, const GridSnapshot &s, const QPen &pen,
                const std::function<std::optional<double>(const HourFigures &)> &value)
{
    QPainterPath path;
    bool started = false;
    for (int he = 1; he <= 24; ++he) {
        const std::optional<double> mw = value(s.hours[std::size_t(he - 1)]);
        if (!mw)
            break;
        const QPointF point = ToPoint(he, *mw);
        if (started) {
            path.lineTo(point);
        } else {
            path.moveTo(point);
            started = true;
        }
    }
    p.setPen(pen);
    p.drawPath(path);
}

} // namespace

QByteArray DrawLoadPicture(const GridSnapshot &s)
{
    QImage image(kLoadPictureWidth, kLoadPictureHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        // Text needs fonts, and fonts need a GUI application object.
        const bool withText = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        if (withText) {
            QFont font = p.font();
            font.setPixelSize(10);
            p.setFont(font);
            p.drawText(QRectF(kPlot.left(), 2, kPlot.width(), 16), Qt::AlignLeft | Qt::AlignVCenter,
                       u"System Demand  "_qs + OperatorDateTime(s.produced).left(10));
        }
        DrawGrid(p, withText);
        DrawSeries(p, s, QPen(QColor(0, 90, 200), 1, Qt::DashLine),
                   [](const HourFigures &h) { return std::optional(h.dayAhead); });
        DrawSeries(p, s, QPen(QColor(230, 140, 0), 1, Qt::DotLine),
                   [](const HourFigures &h) { return std::optional(h.hourAhead); });
        DrawSeries(p, s, QPen(QColor(0, 150, 60), 1.5),
                   [](const HourFigures &h) { return std::optional(h.resources); });
        DrawSeries(p, s, QPen(QColor(210, 0, 0), 2), [](const HourFigures &h) { return h.actual; });
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace voltwise::gridsim
