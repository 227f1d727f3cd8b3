#pragma once

#include "core/completion.h"

#include <QDialog>

namespace voltwise {

// co_await DialogFinished(dialog) gives the dialog's result once it has
// closed, or Rejected once it is destroyed without closing. The waiter resumes
// from within the signal, so a dialog that deletes itself on close, or a
// program that ends first, cannot lose it.
class DialogFinished
{
public:
    explicit DialogFinished(QDialog *dialog)
    {
        if (!dialog) {
            m_result.set(QDialog::Rejected);
            return;
        }
        m_finished = QObject::connect(dialog, &QDialog::finished, dialog,
                                      [this](int result) { end(result); });
        m_destroyed =
            QObject::connect(dialog, &QObject::destroyed, [this] { end(QDialog::Rejected); });
    }
    ~DialogFinished()
    {
        QObject::disconnect(m_finished);
        QObject::disconnect(m_destroyed);
    }

    auto operator co_await() noexcept { return m_result.operator co_await(); }

private:
    void end(int result)
    {
        QObject::disconnect(m_finished);
        QObject::disconnect(m_destroyed);
        m_result.set(result);
    }

    QMetaObject::Connection m_finished;
    QMetaObject::Connection m_destroyed;
    Completion<int> m_result;
};

} // namespace voltwise
