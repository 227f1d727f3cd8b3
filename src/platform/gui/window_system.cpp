#include "platform/gui/window_system.h"

#include <QGuiApplication>

namespace voltwise {

bool WindowsCanBePlaced()
{
    return !QGuiApplication::platformName().startsWith(u"wayland");
}

} // namespace voltwise
