#include "ui/gui/dialog_update_prompt.h"

#include "core/completion.h"
#include "ui/gui/software_update_dialog.h"

#include <QMessageBox>

#include <memory>

namespace voltwise {

DialogUpdatePrompt::DialogUpdatePrompt(QWidget *parent)
    : m_parent(parent)
{}

QCoro::Task<UpdateChoice> DialogUpdatePrompt::offerUpdate(UpdateOffer offer)
{
    QPointer<SoftwareUpdateDialog> dialog = new SoftwareUpdateDialog(offer, m_parent);
    m_shown = dialog;
    const UpdateChoice choice = co_await dialog->ask();
    // Unloaded once the check has its answer.
    if (dialog)
        dialog->deleteLater();
    co_return choice;
}

QCoro::Task<> DialogUpdatePrompt::showMessage(UpdateMessage message)
{
    QPointer<QMessageBox> box =
        new QMessageBox(message.warning ? QMessageBox::Warning : QMessageBox::Information,
                        message.caption, message.text, QMessageBox::Ok, m_parent);
    box->setObjectName(u"msgSoftwareUpdate"_qs);
    m_shown = box;
    const auto closed = std::make_shared<Completion<bool>>();
    QObject::connect(box, &QDialog::finished, [closed] { closed->set(true); });
    QObject::connect(box, &QObject::destroyed, [closed] { closed->set(true); });
    box->open();
    co_await *closed;
    if (box)
        box->deleteLater();
}

void DialogUpdatePrompt::dismiss()
{
    if (m_shown)
        m_shown->reject();
}

} // namespace voltwise
