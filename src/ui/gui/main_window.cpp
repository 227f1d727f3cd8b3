#include "ui/gui/main_window.h"

#include "core/download/download_channel.h"
#include "graph/chart_series.h"
#include "graph/gui/graph_menu.h"
#include "platform/browser.h"
#include "platform/gui/always_on_top.h"
#include "platform/gui/published_items_bus.h"
#include "status/condition_levels.h"
#include "status/gui/condition_images.h"
#include "ui/gui/client_area.h"
#include "ui/gui/exit_prompt.h"
#include "ui/gui/main_tray.h"
#include "ui/gui/notice_delivery.h"
#include "ui/gui/options_dialog.h"
#include "ui/gui/update_checker.h"
#include "ui/gui/window_placement.h"
#include "ui/link_table.h"

#include <QCloseEvent>
#include <QMenu>
#include <QTimer>

#include <cstdio>

namespace voltwise {

MainWindow::MainWindow(MainWindowServices services, QWidget *parent)
    : QMainWindow(parent)
    , m_services(std::move(services))
{
    setObjectName(u"frmMain"_qs);
    setWindowTitle(u"Voltwise"_qs);
    setWindowIcon(ConditionIcon(kInitialImageIndex));

    m_monitor = new GridMonitor({.servers = m_services.servers,
                                 .locale = m_services.locale,
                                 .clock = m_services.clock,
                                 .refreshDeadline = m_services.refreshDeadline,
                                 .minuteMilliseconds = m_services.minuteMilliseconds},
                                m_settings, this);
    connect(m_monitor, &GridMonitor::refreshStarted, this, &MainWindow::refreshStarted);
    connect(m_monitor, &GridMonitor::presented, this, &MainWindow::ShowStatus);
    connect(m_monitor, &GridMonitor::refreshFinished, this, &MainWindow::refreshEnded);
    connect(m_monitor, &GridMonitor::stopped, this, [this] { m_services.quit(); });

    auto *bus = new PublishedItemsBus(this);
    if (m_services.publishOnBus)
        bus->registerOnSessionBus();
    connect(m_monitor, &GridMonitor::itemsPublished, bus, &PublishedItemsBus::publish);

    m_notices = new NoticeDelivery(
        {.sound = m_services.sound, .notifier = m_services.notifier, .browser = m_services.browser},
        m_settings, this);
    connect(m_monitor, &GridMonitor::announced, m_notices, &NoticeDelivery::deliver);
    connect(m_notices, &NoticeDelivery::noticeRaised, this, &MainWindow::noticeRaised);

    buildMenus();
    m_client = new ClientArea(this, m_settings, m_menus, m_graphMenu, m_services.locale);
    connect(m_monitor->channel(), &DownloadChannel::progressText, m_client,
            &ClientArea::setStatusText);
    m_updates = new UpdateChecker({.store = m_services.store,
                                   .browser = m_services.browser,
                                   .maker = m_services.servers.maker,
                                   .locale = m_services.locale,
                                   .prompt = m_services.updatePrompt},
                                  this, m_menus.mnuHelpUpdate);

    m_tray = new MainTray(m_services.makeTray, m_menus.mnuSysTray, this);
    connect(m_tray, &MainTray::showDetails, this, &MainWindow::showDetails);
}

MainWindow::~MainWindow() = default;

void MainWindow::setVisible(bool visible)
{
    if (visible)
        m_client->ensureBuilt();
    QMainWindow::setVisible(visible);
}

void MainWindow::buildMenus()
{
    m_menus = BuildMainMenus(this);
    const MainMenus &m = m_menus;
    connect(m.mnuFileUpdate, &QAction::triggered, this, &MainWindow::mnuFileUpdate_Click);
    connect(m.mnuFileClose, &QAction::triggered, this, &QWidget::hide);
    for (QAction *exit : {m.mnuFileExit, m.mnuSysTrayExit})
        connect(exit, &QAction::triggered, this, &MainWindow::mnuFileExit_Click);
    for (int i = 0; i < m.mnuViewSub.size(); ++i)
        connect(m.mnuViewSub[i], &QAction::triggered, this, [this, i] { m_client->selectTab(i); });
    connect(m.mnuViewAlwaysOnTop, &QAction::triggered, this, [this] {
        m_settings.AlwaysOnTop = !m_settings.AlwaysOnTop;
        applyAlwaysOnTop();
    });
    // Both link menus open the same target for the same index.
    for (const QList<QAction *> &links : {m.mnuToolsSub, m.mnuSysTraySub}) {
        for (int i = 0; i < links.size(); ++i)
            connect(links[i], &QAction::triggered, this,
                    [this, i] { openLink(LinkUrl(i, m_services.servers)); });
    }
    for (QAction *options : {m.mnuToolsOptions, m.mnuSysTrayOptions})
        connect(options, &QAction::triggered, this, [this] { mnuToolsOptions_Click(); });
    for (QAction *help : {m.mnuHelpTopics, m.mnuSysTrayHelp})
        connect(help, &QAction::triggered, this,
                [this] { openLink(HelpTopicsUrl(m_services.servers)); });
    for (QAction *about : {m.mnuHelpAbout, m.mnuSysTrayAbout})
        connect(about, &QAction::triggered, this, [this] { ShowAboutBox(this); });
    connect(m.mnuSysTrayDetails, &QAction::triggered, this, &MainWindow::showDetails);

    m_graphMenu = GraphMenu::create(this);
    connect(m_graphMenu, &GraphMenu::seriesItemClicked, this, [this](int index) {
        // Saved with the other settings when the window unloads.
        m_settings.GraphValues = FlipGraphValue(m_settings.GraphValues, index);
        m_client->applyGraphValues();
    });
}

QCoro::Task<> MainWindow::Form_Load()
{
    m_settings = LoadAppSettings(*m_services.store, m_services.locale);

    m_tray->showInitial();

    RestoreWindowPlacement(this, 0, *m_services.store, m_services.locale);
    m_client->applyLoadedSettings();

    // Before the window shows, so that a chart set aside for the picture is
    // never built.
    for (int series = 1; series <= OutlookSeriesCount; ++series)
        m_graphMenu->addSeriesItem(ShownSeriesName(series));
    m_client->applyGraphValues();
    m_client->applyGraphKind();

    if (m_settings.ShowAtStartup)
        show();
    applyAlwaysOnTop();
    QTimer::singleShot(m_services.trayWait, this, &MainWindow::showWithoutTray);

    co_await RefreshAll();
}

void MainWindow::refreshStarted()
{
    m_menus.mnuFileUpdate->setEnabled(false);
    m_client->setStatusText(tr("Updating..."));
}

void MainWindow::refreshEnded()
{
    m_client->ensureBuilt();
    m_client->setStatusText(QString());
    m_menus.mnuFileUpdate->setEnabled(true);
    Q_EMIT refreshFinished();
}

void MainWindow::applyAlwaysOnTop()
{
    // The mark follows the user's choice even where the desktop ignores it.
    SetAlwaysOnTop(this, m_settings.AlwaysOnTop);
    m_menus.mnuViewAlwaysOnTop->setChecked(m_settings.AlwaysOnTop);
}

void MainWindow::openLink(const QUrl &url)
{
    QString text = url.toString();
    if (m_services.browser)
        OpenInBrowser(text, *m_services.browser);
}

QCoro::Task<> MainWindow::mnuToolsOptions_Click()
{
    if (m_options && m_options->isVisible()) { // one dialog at a time, whichever menu asks
        m_options->raise();
        m_options->activateWindow();
        co_return;
    }
    QPointer<MainWindow> self(this);
    m_options = new OptionsDialog(m_settings, *m_services.store, m_services.startupEntry, this);
    co_await m_options->showModal();
    if (self)
        m_client->applyGraphKind();
}

void MainWindow::showDetails()
{
    showNormal();
    raise();
    activateWindow();
}

void MainWindow::ShowStatus(const StatusPresentation &p, const GridData &data)
{
    m_tray->showStatus(p);
    m_client->showStatus(p, data);
    if (p.imageIndex)
        setWindowIcon(ConditionIcon(*p.imageIndex));
}

void MainWindow::showWithoutTray()
{
    if (isUnloaded() || m_tray->isPresent())
        return;
    std::fputs("voltwise: no notification area (system tray) found; showing the window, which "
               "minimises to the taskbar until one appears\n",
               stderr);
    if (!isVisible())
        show();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (isUnloaded()) {
        event->accept();
        return;
    }
    event->ignore();
    requestUnload(UnloadMode::UserClose);
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        m_client->fitToFont();
    // Minimised, the window lives on in the notification area; without one
    // it stays on the taskbar so the user can still reach it.
    if (event->type() == QEvent::WindowStateChange && isMinimized() && m_tray->isPresent())
        QTimer::singleShot(0, this, &QWidget::hide);
}

QCoro::Task<bool> MainWindow::requestUnload(UnloadMode mode)
{
    // One question at a time; only the end of the session overrides an open one.
    if (m_exit == ExitState::Unloaded ||
        (m_exit == ExitState::Asking && mode != UnloadMode::SessionEnd))
        co_return false;
    QPointer<MainWindow> self(this);
    bool goOn = true;
    switch (mode) {
    case UnloadMode::UserClose:
        // Saved first: minimising must not be remembered as the state to
        // start in.
        SaveWindowPlacement(this, *m_services.store, m_services.locale);
        if (m_tray->isPresent())
            hide();
        else
            showMinimized();
        co_return false;
    case UnloadMode::ProgramRequest:
        m_exit = ExitState::Asking;
        goOn = m_services.exitPrompt ? co_await m_services.exitPrompt->confirmExit(this) : true;
        if (!self || m_exit == ExitState::Unloaded) // the session ended while the question was open
            co_return false;
        m_exit = ExitState::Running;
        break;
    case UnloadMode::SessionEnd:
        break;
    }
    SaveWindowPlacement(this, *m_services.store, m_services.locale);
    if (!goOn)
        co_return false;
    Form_Unload();
    co_return true;
}

void MainWindow::commitSettings()
{
    if (isUnloaded())
        return;
    SaveWindowPlacement(this, *m_services.store, m_services.locale);
    SaveMainWindowSettings(*m_services.store, m_settings);
}

void MainWindow::Form_Unload()
{
    m_exit = ExitState::Unloaded;
    m_updates->cancel();
    if (m_options && m_options->isVisible()) // closing it saves what it saves on any close
        m_options->reject();
    SaveMainWindowSettings(*m_services.store, m_settings);
    m_tray->hide();
    hide();
    // A notice still on its way to the desktop's server stays there.
    delete m_notices;
    m_notices = nullptr;
    Q_EMIT unloaded();
    m_monitor->stop(); // the program ends once a refresh under way has wound down
}

} // namespace voltwise
