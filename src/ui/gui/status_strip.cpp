#include "ui/gui/status_strip.h"

#include "core/twips.h"
#include "status/condition_levels.h"
#include "status/gui/condition_images.h"
#include "ui/gui/fitting_label.h"
#include "ui/gui/label_styles.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QLabel>

namespace voltwise {

namespace {
QLabel *placeLabel(QWidget *parent, const QString &name, const QString &text, double left,
                   double top, const QFont &font)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(font);
    label->move(TwipsToPixels(left), TwipsToPixels(top));
    label->adjustSize();
    return label;
}

} // namespace

StatusStrip::StatusStrip(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(u"picStatus"_qs);
    setGeometry(TwipsRect(60, 60, 4755, 1035));
    // The base colour of the user's scheme: white in a light one, and in a
    // dark one the scheme's own text colours stay readable on it.
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);

    const auto shown = [](const char *caption) {
        return QCoreApplication::translate("Condition", caption);
    };
    static constexpr std::array<int, 6> levelLefts = {60, 585, 930, 1485, 2025, 2550};
    static constexpr std::array<int, 3> forecastLefts = {3120, 3675, 4230};

    // Each scale caption must end before the next one starts.
    QList<std::pair<QString, int>> slots;
    for (size_t i = 0; i < kLevelScaleCaptions.size(); ++i) {
        const int next = i + 1 < levelLefts.size() ? levelLefts[i + 1] : 3060;
        slots.append({shown(kLevelScaleCaptions[i]), TwipsToPixels(next - levelLefts[i])});
    }
    for (size_t i = 0; i < kForecastScaleCaptions.size(); ++i) {
        const int next = i + 1 < forecastLefts.size() ? forecastLefts[i + 1] : 4755;
        slots.append({shown(kForecastScaleCaptions[i]), TwipsToPixels(next - forecastLefts[i])});
    }
    const QFont small = DesignFont(u"Tahoma"_qs, 6.75);
    const QFont scaleFont = FontFittingWidths(small, slots);
    // The title spans the strip above the condition, as far as the right edge.
    const QString title =
        QCoreApplication::translate("Condition", "Current California Power Grid System Conditions");
    placeLabel(this, u"lblTitle"_qs, title, 780, 0,
               FontFittingWidths(small, {{title, TwipsToPixels(4755 - 780)}}));

    picStatusIcon = new QLabel(this);
    picStatusIcon->setObjectName(u"picStatusIcon"_qs);
    picStatusIcon->setGeometry(TwipsToPixels(210), TwipsToPixels(210), 32, 32);

    lblStatusText = new FittingLabel(this);
    lblStatusText->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lblStatusText->setObjectName(u"lblStatusText"_qs);
    lblStatusText->setFont(DesignFont(u"Arial"_qs, 20.25, true, true));
    lblStatusText->setGeometry(TwipsRect(720, 210, 3870, 480));

    for (size_t i = 0; i < lblStatus.size(); ++i) {
        lblStatus[i] = placeLabel(this, u"lblStatus(%1)"_qs.arg(i), shown(kLevelScaleCaptions[i]),
                                  levelLefts[i], 810, scaleFont);
    }
    placeLabel(this, u"lblScaleSeparator"_qs, u"|"_qs, 3060, 810, scaleFont);

    for (size_t i = 0; i < lblForecast.size(); ++i) {
        lblForecast[i] =
            placeLabel(this, u"lblForecast(%1)"_qs.arg(i), shown(kForecastScaleCaptions[i]),
                       forecastLefts[i], 810, scaleFont);
    }
    lightScales({}, {});
}

void StatusStrip::setConditionText(const QString &text)
{
    lblStatusText->setText(text);
    picStatusIcon->setAccessibleName(text);
}

void StatusStrip::setConditionImage(int imageIndex)
{
    picStatusIcon->setPixmap(
        ConditionPixmap(imageIndex, picStatusIcon->width(), picStatusIcon->devicePixelRatioF()));
}

void StatusStrip::lightScales(const std::array<bool, 6> &levels,
                              const std::array<bool, 3> &forecasts)
{
    const auto light = [](QLabel *label, bool lit, const QString &litText,
                          const QString &unlitText) {
        SetScaleLabelLit(label, lit);
        label->setAccessibleDescription(lit ? litText : unlitText);
    };
    for (size_t i = 0; i < lblStatus.size(); ++i)
        light(lblStatus[i], levels[i], QCoreApplication::translate("Condition", "Current level"),
              QCoreApplication::translate("Condition", "Not the current level"));
    for (size_t i = 0; i < lblForecast.size(); ++i) {
        light(lblForecast[i], forecasts[i],
              QCoreApplication::translate("Condition", "Current forecast notice"),
              QCoreApplication::translate("Condition", "Not the current forecast notice"));
    }
}

} // namespace voltwise
