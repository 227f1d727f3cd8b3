#pragma once

#include "platform/gui/tray_icon.h"

#include <QIcon>
#include <QString>

namespace voltwise {

// Keeps what the window shows in the notification area; present unless told.
class RecordingTrayIcon final : public TrayIcon
{
public:
    using TrayIcon::TrayIcon;

    void setIcon(const QIcon &newIcon) override { icon = newIcon; }
    void setToolTip(const QString &text) override { toolTip = text; }
    void show() override { shown = true; }
    void hide() override { shown = false; }
    bool isPresent() const override { return present; }

    QIcon icon;
    QString toolTip;
    bool shown = false;
    bool present = true;
};

} // namespace voltwise
