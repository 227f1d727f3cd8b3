#pragma once

#include <QList>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace voltwise {

// The main window's menus and the icon menu, with their items by name.
struct MainMenus
{
    QMenu *mnuFile = nullptr;
    QAction *mnuFileUpdate = nullptr;
    QAction *mnuFileClose = nullptr;
    QAction *mnuFileExit = nullptr;

    QMenu *mnuView = nullptr;
    QList<QAction *> mnuViewSub; // one per tab, exactly one checked
    QAction *mnuViewAlwaysOnTop = nullptr;

    QMenu *mnuTools = nullptr;
    QList<QAction *> mnuToolsSub; // the link table's rows
    QAction *mnuToolsOptions = nullptr;

    QMenu *mnuHelp = nullptr;
    QAction *mnuHelpTopics = nullptr;
    QAction *mnuHelpUpdate = nullptr;
    QAction *mnuHelpAbout = nullptr;

    QMenu *mnuSysTray = nullptr; // popped up by the notification-area icon
    QList<QAction *> mnuSysTraySub;
    QAction *mnuSysTrayDetails = nullptr;
    QAction *mnuSysTrayOptions = nullptr;
    QAction *mnuSysTrayHelp = nullptr;
    QAction *mnuSysTrayAbout = nullptr;
    QAction *mnuSysTrayExit = nullptr;
};

// Creates the menus (File, View, Tools, Help) and the icon menu, owned by
// `owner`. The update item stays disabled until it has a handler.
MainMenus BuildMainMenus(QWidget *owner);
// Puts the menus in the bar: File, View, `graph`, Tools, Help. The bar comes
// later than the menus: building it loads Qt's image plugins.
void PlaceMainMenus(QMenuBar *bar, const MainMenus &menus, QMenu *graph);

// The About box: opened over `parent` without waiting for it.
void ShowAboutBox(QWidget *parent);

} // namespace voltwise
