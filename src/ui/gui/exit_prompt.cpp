#include "ui/gui/exit_prompt.h"

#include "ui/gui/dialog_finished.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPointer>

namespace voltwise {

QCoro::Task<bool> MessageBoxExitPrompt::confirmExit(QWidget *parent)
{
    QPointer<QMessageBox> box = new QMessageBox(
        QMessageBox::Warning, u"Voltwise"_qs,
        QCoreApplication::translate("Menus", "Are you sure you want to exit Voltwise?"),
        QMessageBox::Yes | QMessageBox::No, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setObjectName(u"msgExitQuestion"_qs);
    box->open();
    const int answer = co_await DialogFinished(box);
    co_return answer == QMessageBox::Yes;
}

} // namespace voltwise
