#pragma once

#include "platform/gui/tray_icon.h"

#include <QDBusConnection>
#include <QIcon>
#include <QPointer>

class QMenu;
class QSystemTrayIcon;

namespace voltwise {

class StatusNotifierHostWatch;
class StatusNotifierItem;

// The icon on today's panels (a StatusNotifierItem, with the menu drawn by
// the panel) whenever one is there, however late it starts or often it
// restarts; on an X11 desktop without one, the older embedded tray icon.
// Qt's own icon asks only once whether such a panel exists and keeps the
// answer, which leaves a program started before its panel without an icon.
class DesktopTrayIcon final : public TrayIcon
{
    Q_OBJECT

public:
    // The menu stays the caller's.
    DesktopTrayIcon(QDBusConnection bus, QMenu *menu, QObject *parent = nullptr);
    ~DesktopTrayIcon() override;

    void setIcon(const QIcon &icon) override;
    void setToolTip(const QString &text) override;
    void show() override;
    void hide() override;
    bool isPresent() const override;

private:
    void update();
    void registerItem();

    StatusNotifierHostWatch *m_watch;
    StatusNotifierItem *m_item;
    QPointer<QSystemTrayIcon> m_embedded;
    QIcon m_icon;
    QString m_toolTip;
    bool m_shown = false;
    const bool m_embeddingPossible;
};

} // namespace voltwise
