#include "platform/gui/always_on_top.h"

#include <QWidget>

namespace voltwise {

void SetAlwaysOnTop(QWidget *window, bool onTop)
{
    if (!window || !window->isWindow())
        return;
    if (window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop) {
        if (onTop && window->isVisible())
            window->raise();
        return;
    }
    // Changing the flags recreates the native window, which hides it and may
    // forget where it was.
    const QPoint position = window->pos();
    const QSize size = window->size();
    const bool visible = window->isVisible();
    const Qt::WindowStates states = window->windowState();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    window->move(position);
    window->resize(size);
    window->setWindowState(states);
    if (visible)
        window->setVisible(true);
}

} // namespace voltwise
