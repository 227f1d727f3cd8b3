#pragma once

#include "status/tray_click_protocol.h"

#include <QObject>

class QIcon;
class QString;

namespace voltwise {

// The program's icon in the desktop's notification area, whatever protocol
// the desktop speaks.
class TrayIcon : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual void setIcon(const QIcon &icon) = 0;
    virtual void setToolTip(const QString &text) = 0;
    // From show to hide the icon is in every notification area there is,
    // and in every one that appears meanwhile.
    virtual void show() = 0;
    virtual void hide() = 0;
    // Whether a notification area shows the icon now.
    virtual bool isPresent() const = 0;

Q_SIGNALS:
    void mouseEvent(voltwise::TrayMouseEvent event);
};

} // namespace voltwise
