#include "ui/gui/main_tray.h"

#include "platform/gui/tray_icon.h"
#include "status/gui/condition_images.h"
#include "status/status_presentation.h"
#include "status/tray_click_protocol.h"

#include <QCursor>
#include <QMenu>
#include <QWidget>

namespace voltwise {

MainTray::MainTray(const Maker &make, QMenu *menu, QWidget *window)
    : QObject(window)
{
    auto *clicks = new TrayClickProtocol(this);
    clicks->setObjectName(u"tmrLeftButtonClick"_qs);
    connect(clicks, &TrayClickProtocol::showMenu, this, [window, menu] {
        window->activateWindow(); // the menu must close when the user clicks elsewhere
        menu->popup(QCursor::pos());
    });
    connect(clicks, &TrayClickProtocol::showDetails, this, &MainTray::showDetails);
    if (!make)
        return;
    m_icon = make(menu, window);
    connect(m_icon, &TrayIcon::mouseEvent, clicks, &TrayClickProtocol::handle);
}

void MainTray::showInitial()
{
    if (!m_icon)
        return;
    m_icon->setIcon(ConditionIcon(kInitialImageIndex));
    m_icon->setToolTip(InitialTrayTip());
    m_icon->show();
}

void MainTray::showStatus(const StatusPresentation &p)
{
    if (!m_icon || !p.imageIndex || !p.trayTip)
        return;
    m_icon->setIcon(ConditionIcon(*p.imageIndex));
    m_icon->setToolTip(*p.trayTip);
}

void MainTray::hide()
{
    if (m_icon)
        m_icon->hide();
}

bool MainTray::isPresent() const
{
    return m_icon && m_icon->isPresent();
}

} // namespace voltwise
