#pragma once

#include <qcoro/qcorotask.h>

class QWidget;

namespace voltwise {

// Asks whether the user really wants to end the program. Asynchronous so
// that the question never runs a nested event loop.
class ExitPrompt
{
public:
    virtual ~ExitPrompt() = default;
    virtual QCoro::Task<bool> confirmExit(QWidget *parent) = 0;
};

// "Are you sure you want to exit Voltwise?" with Yes and No.
class MessageBoxExitPrompt : public ExitPrompt
{
public:
    QCoro::Task<bool> confirmExit(QWidget *parent) override;
};

} // namespace voltwise
