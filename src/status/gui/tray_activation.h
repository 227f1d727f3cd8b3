#pragma once

#include "status/tray_click_protocol.h"

#include <QSystemTrayIcon>

namespace voltwise {

// Qt reports a left press (or, on some platforms, release) as Trigger, the
// second press of a double click as DoubleClick after a Trigger, and the
// context-menu request as Context: the icon's button events as the click
// protocol knows them.
TrayMouseEvent TrayMouseEventFor(QSystemTrayIcon::ActivationReason reason);

} // namespace voltwise
