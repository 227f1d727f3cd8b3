#pragma once

#include "core/server_urls.h"
#include "monitor/grid_monitor.h"
#include "settings/app_settings.h"
#include "ui/gui/main_face.h"
#include "ui/gui/main_menus.h"

#include <QCoreApplication>
#include <QLocale>
#include <QMainWindow>
#include <QPointer>
#include <qcoro/qcorotask.h>

#include <chrono>
#include <functional>
#include <memory>

class QLabel;
class QMenu;

namespace voltwise {

class BrowserOpener;
class DesktopNotifier;
class ExitPrompt;
class GraphMenu;
class MainTray;
class NoticeDelivery;
class PublishedItemsBus;
class RegistryBackend;
class OptionsDialog;
class SoundPlayer;
class StartupEntry;
class TrayIcon;
class UpdateChecker;
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

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(MainWindowServices services, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Builds the client area first when it is not there yet.
    void setVisible(bool visible) override;

    // The load step: settings, icon, placement, first refresh. The task
    // ends when the first refresh has.
    QCoro::Task<> Form_Load();

    // The monitor's refresh and minute tick (see GridMonitor).
    QCoro::Task<> RefreshAll() { return m_monitor->refresh(); }
    QCoro::Task<> tmrMinute_Timer() { return m_monitor->minuteTick(); }
    void mnuFileUpdate_Click() { RefreshAll(); }
    void mnuFileExit_Click() { requestUnload(UnloadMode::ProgramRequest); }
    // Shows the options dialog and ends when it has closed.
    QCoro::Task<> mnuToolsOptions_Click();

    // Ends the program when the query allows it: saves the settings,
    // removes the icon, and quits once no refresh is under way. Returns
    // whether the unload goes on.
    QCoro::Task<bool> requestUnload(UnloadMode mode);

    void ApplyGraphValues();
    // Writes the settings and the placement without ending anything.
    void commitSettings();
    void showDetails();

    const AppSettings &settings() const { return m_settings; }
    AppSettings &settings() { return m_settings; }
    const GridData &gridData() const { return m_monitor->data(); }
    bool isRefreshing() const { return m_monitor->isRefreshing(); }
    bool isUnloaded() const { return m_exit == ExitState::Unloaded; }
    DownloadChannel *downloadChannel() const { return m_monitor->channel(); }
    UpdateChecker *updateChecker() const { return m_updates; }

Q_SIGNALS:
    void refreshFinished();
    void unloaded();
    void noticeRaised(QWidget *notice);

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // Where the window is on its way out.
    enum class ExitState
    {
        Running,
        Asking, // the exit question is open
        Unloaded,
    };

    void buildMenus();
    // The client area's widgets, built once: at the first status, when the
    // window is first shown, or when something needs them.
    void ensureFace();
    void applyLoadedFace();
    void applyDetailsHeight();
    void fitToFont();
    void tabMain_Click(int index);
    void applyAlwaysOnTop();
    void applyGraphKind();
    void openLink(const QUrl &url);
    void setStatusBarText(const QString &text);
    void refreshStarted();
    void refreshEnded();
    void ShowStatus(const StatusPresentation &p, const GridData &data);
    void Form_Unload();
    void showWithoutTray();

    MainWindowServices m_services;
    AppSettings m_settings;
    GridMonitor *m_monitor = nullptr;
    NoticeDelivery *m_notices = nullptr;
    PublishedItemsBus *m_bus = nullptr;
    MainFace m_face;
    FaceHeights m_faceHeights;
    GraphMenu *m_graphMenu = nullptr;
    QLabel *sbStatusBar = nullptr;
    MainMenus m_menus;
    QPointer<OptionsDialog> m_options;
    MainTray *m_tray = nullptr;
    UpdateChecker *m_updates = nullptr;
    ExitState m_exit = ExitState::Running;
};

} // namespace voltwise
