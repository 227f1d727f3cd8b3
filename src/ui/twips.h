#pragma once

#include <QRect>

#include <cmath>

namespace voltwise {

// Window layouts are designed in twips: 15 twips are one device-independent
// pixel, so the layout scales with the screen's density.
inline constexpr double kTwipsPerPixel = 15.0;

inline int TwipsToPixels(double twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); }
inline double PixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

inline QRect TwipsRect(double left, double top, double width, double height)
{
    return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
}

} // namespace voltwise
