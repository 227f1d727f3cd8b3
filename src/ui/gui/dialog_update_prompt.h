#pragma once

#include "update/software_update.h"

#include <QPointer>
#include <QWidget>

namespace voltwise {

// The update dialog and the information messages, window-modal over parent.
class DialogUpdatePrompt final : public UpdatePrompt
{
public:
    explicit DialogUpdatePrompt(QWidget *parent);

    QCoro::Task<UpdateChoice> offerUpdate(UpdateOffer offer) override;
    QCoro::Task<> showMessage(UpdateMessage message) override;
    void dismiss() override;

private:
    QPointer<QWidget> m_parent;
    QPointer<QDialog> m_shown;
};

} // namespace voltwise
