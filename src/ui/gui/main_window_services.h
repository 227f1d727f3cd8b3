#pragma once

#include "core/server_urls.h"
#include "monitor/grid_monitor.h"

#include <QCoreApplication>
#include <QLocale>

#include <chrono>
#include <functional>

class QMenu;
class QObject;

namespace voltwise {

class BrowserOpener;
class DesktopNotifier;
class ExitPrompt;
class RegistryBackend;
class SoundPlayer;
class StartupEntry;
class TrayIcon;
class UpdatePrompt;

// What the main window needs from outside; tests pass their own.
struct MainWindowServices
{
    RegistryBackend *store = nullptr;
    ServerUrls servers = ServerUrls::defaults();
    QLocale locale = QLocale::system();
    // The time now for the refresh; none is the system clock.
    RefreshClock clock;
    std::chrono::milliseconds refreshDeadline = kRefreshDeadline;
    ExitPrompt *exitPrompt = nullptr;
    SoundPlayer *sound = nullptr;
    BrowserOpener *browser = nullptr;
    // The desktop's notification server; none: notices always in a window.
    DesktopNotifier *notifier = nullptr;
    // None: the update dialog and its messages.
    UpdatePrompt *updatePrompt = nullptr;
    // The start-at-login entry of the options dialog; none: never registered.
    StartupEntry *startupEntry = nullptr;
    // Makes the notification-area icon for the icon menu; none: no icon.
    std::function<TrayIcon *(QMenu *menu, QObject *parent)> makeTray;
    // How long a notification area may take to appear at start (panels start
    // beside the programs of a login) before the window shows in its stead.
    std::chrono::milliseconds trayWait{5000};
    bool publishOnBus = true;
    int minuteMilliseconds = 60 * 1000;
    // Ends the program once the window has unloaded.
    std::function<void()> quit = [] {
        QCoreApplication::quit();
    };
};

// Why the window is asked to unload.
enum class UnloadMode
{
    UserClose = 0,
    ProgramRequest = 1,
    SessionEnd = 2
};

} // namespace voltwise
