#include "ui/gui/conditions_panel.h"

#include "core/twips.h"
#include "ui/gui/label_styles.h"

#include <QLabel>

namespace voltwise {

namespace {

constexpr double kFullWidth = 4500;

QLabel *heading(QWidget *parent, const QString &name, const QString &text, double top)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(TwipsRect(15, top, kFullWidth, 285));
    label->setFont(DesignFont(u"Tahoma"_qs, 11.25, true));
    label->setAlignment(Qt::AlignCenter);
    SetLabelColours(label, QPalette::Dark, QPalette::Light);
    return label;
}

QLabel *subLine(QWidget *parent, const QString &name, const QString &text, double top)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(TwipsRect(15, top, kFullWidth, 240));
    label->setFont(DesignFont(u"Tahoma"_qs, 9));
    label->setAlignment(Qt::AlignCenter);
    SetLabelColours(label, QPalette::Dark, QPalette::Light);
    return label;
}

constexpr double kCaptionWidth = 2460;

QLabel *valueRow(QWidget *parent, int captionIndex, const QString &caption, const QString &name,
                 double top, const QFont &captionFont)
{
    auto *captionLabel = new QLabel(caption, parent);
    captionLabel->setObjectName(u"Label1(%1)"_qs.arg(captionIndex));
    captionLabel->setTextFormat(Qt::PlainText);
    captionLabel->setGeometry(TwipsRect(15, top, kCaptionWidth, 270));
    captionLabel->setFont(captionFont);
    captionLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    SetLabelColours(captionLabel, QPalette::Midlight, QPalette::WindowText);

    auto *value = new QLabel(parent);
    value->setObjectName(name);
    value->setTextFormat(Qt::PlainText);
    value->setGeometry(TwipsRect(2490, top, 2025, 270));
    value->setFont(DesignFont(u"Tahoma"_qs, 9, true));
    value->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    SetLabelColours(value, QPalette::Midlight, QPalette::WindowText);
    return value;
}

} // namespace

ConditionsPanel::ConditionsPanel(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(u"picConditions"_qs);

    const QStringList reductionCaptions = {
        tr("Total Interruptions:"),        tr("PG&E Service Territory:"),
        tr("SCE Service Territory:"),      tr("SDG&E Service Territory:"),
        tr("Pasadena Municipal Utility:"), tr("Vernon Municipal Utility:")};
    const QStringList figureCaptions = {
        tr("Current Available Resources:"), tr("Current System Load:"),
        tr("Surplus or Shortfall:"),        tr("Today's Actual Peak:"),
        tr("Today's Forecasted Peak:"),     tr("Tomorrow's Forecasted Peak:")};
    QList<std::pair<QString, int>> captionWidths;
    for (const QString &caption : figureCaptions + reductionCaptions)
        captionWidths.append({caption, TwipsToPixels(kCaptionWidth) - 2});
    const QFont captionFont = FontFittingWidths(DesignFont(u"Tahoma"_qs, 9), captionWidths);

    heading(this, u"lblConditionsHeading"_qs, tr("Current Conditions"), 15);
    lblCurrentCondition[0] = subLine(this, u"lblCurrentCondition(0)"_qs, tr("Not updated"), 300);
    for (int i = 1; i <= 6; ++i)
        lblCurrentCondition[i] =
            valueRow(this, i - 1, figureCaptions[i - 1], u"lblCurrentCondition(%1)"_qs.arg(i),
                     555 + 285 * (i - 1), captionFont);

    lblLoadReduction[0] =
        heading(this, u"lblLoadReduction(0)"_qs, tr("Forecasted Load Reductions"), 2265);
    lblLoadReduction[1] = subLine(this, u"lblLoadReduction(1)"_qs, tr("Not updated"), 2550);
    for (int i = 2; i <= 7; ++i)
        lblLoadReduction[i] =
            valueRow(this, 6 + i - 2, reductionCaptions[i - 2], u"lblLoadReduction(%1)"_qs.arg(i),
                     2805 + 285 * (i - 2), captionFont);
}

} // namespace voltwise
