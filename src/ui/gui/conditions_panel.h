#pragma once

#include <QWidget>

#include <array>

class QLabel;

namespace voltwise {

// The Conditions tab: current figures and the load reduction block, in
// rows 285 twips apart.
class ConditionsPanel : public QWidget
{
    Q_OBJECT

public:
    explicit ConditionsPanel(QWidget *parent = nullptr);

    std::array<QLabel *, 7> lblCurrentCondition{};
    std::array<QLabel *, 8> lblLoadReduction{};
};

} // namespace voltwise
