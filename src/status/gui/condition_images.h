#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

class QPainter;

namespace voltwise {

// The condition images, indexed 1..8 as level + 1: a traffic light (1 dark
// with a question mark, 2 green, 3 yellow, 4 red and yellow, 5..7 red with
// the stage figure) and 8 a stop sign. Indexes outside 1..8 give null
// results.
inline constexpr int kConditionImageCount = 8;

// Drawn for the exact pixel size, so small sizes stay sharp.
QImage ConditionImage(int imageIndex, int size);
// size in device-independent pixels, drawn for the screen's pixel ratio.
QPixmap ConditionPixmap(int imageIndex, int size, qreal devicePixelRatio = 1.0);
// The same drawing over what a paint device holds, a vector file too.
void PaintConditionImage(QPainter &painter, int imageIndex, int size);

// All tray and window sizes, built once per index.
QIcon ConditionIcon(int imageIndex);

} // namespace voltwise
