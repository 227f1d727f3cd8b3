#pragma once

#include "core/server_urls.h"
#include "model/grid_data.h"
#include "refresh/grid_readers.h"
#include "refresh/minute_counter.h"
#include "settings/app_settings.h"
#include "status/change_alert.h"
#include "status/status_presentation.h"
#include "ui/main_face.h"
#include "ui/main_menus.h"

#include <QCoreApplication>
#include <QLocale>
#include <QMainWindow>
#include <QPointer>
#include <qcoro/qcorotask.h>

#include <chrono>
#include <functional>
#include <memory>

class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QStackedWidget;
class QTabBar;
class QTimer;

namespace voltwise {

class BrowserOpener;
class ConditionsPanel;
class DesktopNotifier;
class DownloadChannel;
class ExitPrompt;
class GraphMenu;
class GraphPanel;
class PublishedItemsBus;
class RegistryBackend;
class OptionsDialog;
class SoundPlayer;
class StartupEntry;
class StatusStrip;
class TrayClickProtocol;
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

    // One refresh of every source, then the presentation. Never runs twice
    // at once: a call while one runs returns at once.
    QCoro::Task<> RefreshAll();
    QCoro::Task<> tmrMinute_Timer();
    void mnuFileUpdate_Click();
    void mnuFileClose_Click();
    void mnuFileExit_Click();
    void mnuViewSub_Click(int index);
    void mnuViewAlwaysOnTop_Click();
    void mnuToolsSub_Click(int index);
    // Shows the options dialog and ends when it has closed.
    QCoro::Task<> mnuToolsOptions_Click();
    void mnuHelpTopics_Click();
    void mnuHelpAbout_Click();

    // Ends the program when the query allows it: saves the settings,
    // removes the icon, and quits once no refresh is under way. Returns
    // whether the unload goes on.
    QCoro::Task<bool> requestUnload(UnloadMode mode);

    void ShowStatus();
    void SetupOutlookInfo();
    void ApplyGraphValues();
    void mnuGraphSub_Click(int index);
    // Writes the settings and the placement without ending anything.
    void commitSettings();
    void showDetails();

    const AppSettings &settings() const { return m_settings; }
    AppSettings &settings() { return m_settings; }
    const GridData &gridData() const { return m_data; }
    bool isRefreshing() const { return m_refreshing; }
    bool isUnloaded() const { return m_unloaded; }
    DownloadChannel *downloadChannel() const { return m_channel; }
    UpdateChecker *updateChecker() const { return m_updates; }

Q_SIGNALS:
    void refreshFinished();
    void unloaded();
    void noticeRaised(QWidget *notice);

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildMenus();
    void buildTray();
    // The client area's widgets, built once: at the first status, when the
    // window is first shown, or when something needs them.
    void ensureFace();
    void applyLoadedFace();
    void applyDetailsHeight();
    void fitToFont();
    void chkDetails_Click();
    void tabMain_Click(int index);
    void applyAlwaysOnTop();
    void applyGraphKind();
    void setStatusBarText(const QString &text);
    void Form_Unload();
    void raiseAlert(const ChangeNotice &notice, int level);
    QCoro::Task<> notifyOnDesktop(ChangeNotice notice, int level);
    void showNoticeWindow(const ChangeNotice &notice);
    bool hasTray() const;
    void showWithoutTray();

    MainWindowServices m_services;
    AppSettings m_settings;
    GridData m_data;
    MinuteCounter m_minuteCounter;
    ChangeAlert m_alert;
    PublishedItems m_published = PublishedItems::initial();
    std::shared_ptr<RefreshCancellation> m_cancellation = std::make_shared<RefreshCancellation>();

    DownloadChannel *m_channel = nullptr;
    PublishedItemsBus *m_bus = nullptr;
    MainFace m_face;
    FaceHeights m_faceHeights;
    StatusStrip *m_strip = nullptr;
    ConditionsPanel *m_conditions = nullptr;
    QCheckBox *chkDetails = nullptr;
    QTabBar *tabMain = nullptr;
    QStackedWidget *m_panels = nullptr;
    GraphPanel *picGraph = nullptr;
    GraphMenu *m_graphMenu = nullptr;
    QPlainTextEdit *rtbNotices = nullptr;
    QPlainTextEdit *rtbForecasts = nullptr;
    QLabel *sbStatusBar = nullptr;
    QTimer *tmrMinute = nullptr;
    MainMenus m_menus;
    QPointer<OptionsDialog> m_options;
    TrayIcon *m_tray = nullptr;
    TrayClickProtocol *m_trayClicks = nullptr;
    UpdateChecker *m_updates = nullptr;

    bool m_refreshing = false;
    bool m_asking = false; // the exit question is open
    bool m_unloading = false;
    bool m_unloaded = false;
    bool m_quitWhenRefreshEnds = false;
};

} // namespace voltwise
