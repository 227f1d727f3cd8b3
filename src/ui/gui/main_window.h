#pragma once

#include "settings/app_settings.h"
#include "ui/gui/main_menus.h"
#include "ui/gui/main_window_services.h"

#include <QMainWindow>
#include <QPointer>
#include <qcoro/qcorotask.h>

namespace voltwise {

class ClientArea;
class GraphMenu;
class MainTray;
class NoticeDelivery;
class OptionsDialog;
class UpdateChecker;

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
    void applyAlwaysOnTop();
    void openLink(const QUrl &url);
    void refreshStarted();
    void refreshEnded();
    void ShowStatus(const StatusPresentation &p, const GridData &data);
    void Form_Unload();
    void showWithoutTray();

    MainWindowServices m_services;
    AppSettings m_settings;
    GridMonitor *m_monitor = nullptr;
    NoticeDelivery *m_notices = nullptr;
    GraphMenu *m_graphMenu = nullptr;
    MainMenus m_menus;
    ClientArea *m_client = nullptr;
    QPointer<OptionsDialog> m_options;
    MainTray *m_tray = nullptr;
    UpdateChecker *m_updates = nullptr;
    ExitState m_exit = ExitState::Running;
};

} // namespace voltwise
