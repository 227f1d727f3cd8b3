#pragma once

#include "core/completion.h"

#include <QDialog>

namespace voltwise {

// co_await DialogFinished(dialog) gives the dialog's result once it has
// closed. The waiter resumes from within the finished signal, so a dialog
// that deletes itself on close, or a program that ends first, cannot lose it.
class DialogFinished
{
public:
    explicit DialogFinished(QDialog *dialog)
    {
        if (!dialog) {
            m_result.set(QDialog::Rejected);
            return;
        }
        m_connection = QObject::connect(dialog, &QDialog::finished, dialog, [this](int result) {
            QObject::disconnect(m_connection);
            m_result.set(result);
        });
    }
    ~DialogFinished() { QObject::disconnect(m_connection); }

    auto operator co_await() noexcept { return m_result.operator co_await(); }

private:
    QMetaObject::Connection m_connection;
    Completion<int> m_result;
};

} // namespace voltwise
