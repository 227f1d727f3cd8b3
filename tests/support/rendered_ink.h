#pragma once
// What a widget shows on screen, measured on its rendered pixels.
#include "status/scale_colours.h"

#include <QWidget>

namespace voltwise {

inline Rgb PixelRgb(const QImage &image, int x, int y)
{
    const QColor colour = image.pixelColor(x, y);
    return {colour.red(), colour.green(), colour.blue()};
}

// The strongest contrast of any pixel of area (in the image's own pixels)
// against the background colour: how clearly the text there stands out.
inline double StrongestInk(const QImage &image, const QRect &area, Rgb background)
{
    double strongest = 1;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            strongest = std::max(strongest, ContrastRatio(PixelRgb(image, x, y), background));
    return strongest;
}

// The widget as painted, and an area of it in logical coordinates mapped
// to the picture's pixels (which differ on screens with a scale factor).
inline QImage Rendered(QWidget *widget)
{
    return widget->grab().toImage();
}

inline QRect ImageArea(const QImage &image, const QRect &logical)
{
    const qreal ratio = image.devicePixelRatio();
    return QRectF(QPointF(logical.topLeft()) * ratio, QSizeF(logical.size()) * ratio).toRect();
}

} // namespace voltwise
