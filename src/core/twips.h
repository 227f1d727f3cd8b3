#pragma once

#include <QRect>

#include <cmath>

namespace voltwise {

// Windows are designed in twips: 15 twips are one device-independent pixel,
// so layouts keep their proportions on dense screens.
inline constexpr int kTwipsPerPixel = 15;

// Rounded half away from zero, as the designer's twip grid does.
inline int TwipsToPixels(double twips)
{
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}
inline constexpr int PixelsToTwips(int pixels)
{
    return pixels * kTwipsPerPixel;
}

inline QRect TwipsRect(double left, double top, double width, double height)
{
    return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                 TwipsToPixels(height));
}

} // namespace voltwise
