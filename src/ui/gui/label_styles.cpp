#include "ui/gui/label_styles.h"

#include "status/scale_colours.h"

#include <QFontMetrics>
#include <QLabel>

#include <algorithm>

namespace voltwise {

void SetLabelColours(QLabel *label, QPalette::ColorRole background, QPalette::ColorRole text)
{
    label->setAutoFillBackground(true);
    label->setBackgroundRole(background);
    label->setForegroundRole(text);
}

namespace {
Rgb ToRgb(const QColor &colour)
{
    return {colour.red(), colour.green(), colour.blue()};
}
} // namespace

void SetScaleLabelLit(QLabel *label, bool lit)
{
    // Lit: the strip's text. Unlit: the greyed text of an inactive caption,
    // made to stand apart where the scheme's greyed text does not. The label
    // paints with its foreground role, which on the strip's base background
    // is Text, not WindowText.
    const QWidget *strip = label->parentWidget() ? label->parentWidget() : label;
    const QPalette::ColorRole role = label->foregroundRole();
    QPalette palette = strip->palette();
    const QColor litColour = palette.color(QPalette::Active, role);
    QColor colour = litColour;
    if (!lit) {
        const Rgb unlit =
            UnlitScaleColour(ToRgb(litColour), ToRgb(palette.color(QPalette::Disabled, role)),
                             ToRgb(palette.color(QPalette::Active, strip->backgroundRole())));
        colour = QColor(unlit.red, unlit.green, unlit.blue);
    }
    palette.setColor(role, colour);
    label->setPalette(palette);
}

QFont DesignFont(const QString &family, double pointSize, bool bold, bool italic)
{
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setItalic(italic);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QFont FontFittingWidths(QFont font, const QList<std::pair<QString, int>> &textsAndWidths)
{
    const auto fits = [&] {
        const QFontMetrics metrics(font);
        return std::all_of(textsAndWidths.begin(), textsAndWidths.end(), [&](const auto &entry) {
            return metrics.horizontalAdvance(entry.first) < entry.second;
        });
    };
    while (!fits() && font.pointSizeF() > 5.0)
        font.setPointSizeF(font.pointSizeF() - 0.25);
    return font;
}

} // namespace voltwise
