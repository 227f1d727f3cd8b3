#include "status/scale_colours.h"

#include <cmath>

namespace voltwise {

namespace {

// Below these ratios a reader hardly tells unlit from lit, or unlit from the
// background. A light scheme's usual grey on white (about 1.9) still counts.
constexpr double kApartFromLit = 2.0;
constexpr double kApartFromBackground = 1.5;
// Bold underlined link text that most readers still read without effort;
// red under the pointer on the pale notice (about 3.9) counts.
constexpr double kReadableLink = 3.0;

double Linear(int channel)
{
    const double value = channel / 255.0;
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double Luminance(Rgb colour)
{
    return 0.2126 * Linear(colour.red) + 0.7152 * Linear(colour.green) +
           0.0722 * Linear(colour.blue);
}

int Halfway(int from, int to)
{
    return static_cast<int>(std::lround((from + to) / 2.0));
}

} // namespace

double ContrastRatio(Rgb first, Rgb second)
{
    const double a = Luminance(first) + 0.05;
    const double b = Luminance(second) + 0.05;
    return a > b ? a / b : b / a;
}

Rgb UnlitScaleColour(Rgb lit, Rgb disabled, Rgb background)
{
    if (ContrastRatio(disabled, lit) >= kApartFromLit &&
        ContrastRatio(disabled, background) >= kApartFromBackground) {
        return disabled;
    }
    return {Halfway(lit.red, background.red), Halfway(lit.green, background.green),
            Halfway(lit.blue, background.blue)};
}

Rgb ReadableLinkColour(Rgb link, Rgb text, Rgb background)
{
    return ContrastRatio(link, background) >= kReadableLink ? link : text;
}

} // namespace voltwise
