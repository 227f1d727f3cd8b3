#include "status/gui/tray_activation.h"

namespace voltwise {

TrayMouseEvent TrayMouseEventFor(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return TrayMouseEvent::LeftButtonDown;
    case QSystemTrayIcon::DoubleClick:
        return TrayMouseEvent::LeftButtonDoubleClick;
    case QSystemTrayIcon::Context:
        return TrayMouseEvent::RightButtonUp;
    case QSystemTrayIcon::MiddleClick:
    case QSystemTrayIcon::Unknown:
        break;
    }
    return TrayMouseEvent::Other;
}

} // namespace voltwise
