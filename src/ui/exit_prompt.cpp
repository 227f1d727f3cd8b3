#include "ui/exit_prompt.h"

#include <QMessageBox>
#include <QPointer>
#include <qcoro/qcorosignal.h>

namespace voltwise {

QCoro::Task<bool> MessageBoxExitPrompt::confirmExit(QWidget *parent)
{
    QPointer<QMessageBox> box = new QMessageBox(QMessageBox::Warning, u"Voltwise"_qs,
                                                u"Are you sure you want to exit Voltwise?"_qs,
                                                QMessageBox::Yes | QMessageBox::No, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setObjectName(u"msgExitQuestion"_qs);
    box->open();
    const int answer = co_await qCoro(box.data(), &QMessageBox::finished);
    co_return answer == QMessageBox::Yes;
}

} // namespace voltwise
