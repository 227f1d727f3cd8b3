#pragma once

#include <QDialog>
#include <QPointer>

#include <coroutine>

namespace voltwise {

// co_await DialogFinished(dialog) gives the dialog's result once it has
// closed. The coroutine resumes from within the finished signal: a queued
// resumption would be lost with a dialog that deletes itself on close, or
// when the program ends first, and the waiting coroutine would never go on.
class DialogFinished
{
public:
    explicit DialogFinished(QDialog *dialog)
        : m_dialog(dialog)
    {}

    bool await_ready() const noexcept { return !m_dialog; }

    void await_suspend(std::coroutine_handle<> waiting)
    {
        m_connection =
            QObject::connect(m_dialog, &QDialog::finished, m_dialog, [this, waiting](int result) {
                QObject::disconnect(m_connection);
                m_result = result;
                waiting.resume();
            });
    }

    int await_resume() const noexcept { return m_result; }

private:
    QPointer<QDialog> m_dialog;
    QMetaObject::Connection m_connection;
    int m_result = QDialog::Rejected;
};

} // namespace voltwise
