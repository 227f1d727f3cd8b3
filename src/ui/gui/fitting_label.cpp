#include "ui/gui/fitting_label.h"

#include <QFontMetrics>
#include <QPainter>

namespace voltwise {

FittingLabel::FittingLabel(QWidget *parent, qreal smallestPointSize)
    : QLabel(parent)
    , m_smallest(smallestPointSize)
{}

QFont FittingLabel::fittedFont() const
{
    QFont fitted = font();
    const int room = contentsRect().width();
    while (QFontMetrics(fitted).horizontalAdvance(text()) > room &&
           fitted.pointSizeF() > m_smallest)
        fitted.setPointSizeF(std::max(fitted.pointSizeF() - 0.5, m_smallest));
    return fitted;
}

void FittingLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setFont(fittedFont());
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(contentsRect(), int(alignment()), text());
}

} // namespace voltwise
