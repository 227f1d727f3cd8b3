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

    QLabel *picStatusIcon = nullptr;
    QLabel *lblStatusText = nullptr;
    std::array<QLabel *, 6> lblStatus{};
    std::array<QLabel *, 3> lblForecast{};
};

} // namespace voltwise
