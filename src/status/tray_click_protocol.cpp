#include "status/tray_click_protocol.h"

namespace voltwise {

TrayClickProtocol::TrayClickProtocol(QObject *parent, std::chrono::milliseconds singleClickDelay)
    : QObject(parent)
{
    m_singleClickTimer.setSingleShot(true);
    m_singleClickTimer.setInterval(singleClickDelay);
    connect(&m_singleClickTimer, &QTimer::timeout, this, &TrayClickProtocol::timerFired);
}

void TrayClickProtocol::handle(TrayMouseEvent event)
{
    switch (event) {
    case TrayMouseEvent::LeftButtonDown:
        m_singleClickPending = true;
        m_singleClickTimer.start();
        break;
    case TrayMouseEvent::LeftButtonDoubleClick:
    case TrayMouseEvent::PanelActivate:
    case TrayMouseEvent::PanelSecondaryActivate:
        cancelSingleClick();
        Q_EMIT showDetails();
        break;
    case TrayMouseEvent::RightButtonUp:
    case TrayMouseEvent::PanelContextMenu:
        // A pending left click would open the same menu a second time.
        cancelSingleClick();
        Q_EMIT showMenu();
        break;
    case TrayMouseEvent::RightButtonDown:
    case TrayMouseEvent::Other:
        break;
    }
}

void TrayClickProtocol::timerFired()
{
    if (!m_singleClickPending)
        return;
    cancelSingleClick();
    Q_EMIT showMenu();
}

void TrayClickProtocol::cancelSingleClick()
{
    m_singleClickPending = false;
    m_singleClickTimer.stop();
}

} // namespace voltwise
