#pragma once

namespace voltwise {

// A colour of the user's scheme as red, green and blue from 0 to 255.
struct Rgb
{
    int red = 0;
    int green = 0;
    int blue = 0;

    friend bool operator==(const Rgb &, const Rgb &) = default;
};

// The contrast ratio of two colours as the Web Content Accessibility
// Guidelines measure it: 1 for equal brightness up to 21 for black on white.
double ContrastRatio(Rgb first, Rgb second);

// The text colour of an unlit label of the level and forecast scales. The
// scheme's disabled text where it stands apart from the lit text and from the
// strip's background; schemes that draw disabled text like normal text (or
// lose it in the background) get the lit text blended halfway toward the
// background instead.
Rgb UnlitScaleColour(Rgb lit, Rgb disabled, Rgb background);

// A link in the scheme's link colour where that reads on the background;
// schemes whose link colour is lost there get their text colour instead
// (the link stays underlined).
Rgb ReadableLinkColour(Rgb link, Rgb text, Rgb background);

} // namespace voltwise
