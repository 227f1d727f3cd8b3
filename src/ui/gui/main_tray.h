#pragma once

#include <QObject>

#include <functional>

class QMenu;
class QWidget;

namespace voltwise {

class TrayIcon;
struct StatusPresentation;

// The window's icon in the notification area: the condition and its tip,
// and the clicks that open the icon menu or the window.
class MainTray : public QObject
{
    Q_OBJECT

public:
    using Maker = std::function<TrayIcon *(QMenu *menu, QObject *parent)>;
    // Without a maker there is no icon, and nothing is ever present.
    MainTray(const Maker &make, QMenu *menu, QWidget *window);

    // The icon of a program that knows nothing yet.
    void showInitial();
    void showStatus(const StatusPresentation &p);
    void hide();
    // Whether a notification area shows the icon.
    bool isPresent() const;

Q_SIGNALS:
    void showDetails();

private:
    TrayIcon *m_icon = nullptr;
};

} // namespace voltwise
