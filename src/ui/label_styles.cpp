#include "ui/label_styles.h"

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

void SetScaleLabelLit(QLabel *label, bool lit)
{
    // Lit: window text. Unlit: the greyed text of an inactive caption.
    QPalette palette = label->parentWidget() ? label->parentWidget()->palette() : label->palette();
    const QColor colour = lit ? palette.color(QPalette::Active, QPalette::WindowText)
                              : palette.color(QPalette::Disabled, QPalette::WindowText);
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setProperty("lit", lit);
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
