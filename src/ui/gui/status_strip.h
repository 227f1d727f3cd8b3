#pragma once

#include <QWidget>

#include <array>

class QLabel;

namespace voltwise {

// The white strip at the top of the main window: condition icon and text,
// the level scale and the forecast scale.
class StatusStrip : public QWidget
{
    Q_OBJECT

public:
    explicit StatusStrip(QWidget *parent = nullptr);

    // The condition text, which also names the traffic light for screen readers.
    void setConditionText(const QString &text);
    // The traffic light (1..8), drawn for the screen's pixel ratio.
    void setConditionImage(int imageIndex);
    // Lights the labels marked true and tells screen readers which ones they are.
    void lightScales(const std::array<bool, 6> &levels, const std::array<bool, 3> &forecasts);

    QLabel *picStatusIcon = nullptr;
    QLabel *lblStatusText = nullptr;
    std::array<QLabel *, 6> lblStatus{};
    std::array<QLabel *, 3> lblForecast{};
};

} // namespace voltwise
