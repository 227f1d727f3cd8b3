#include "ui/main_window.h"

#include "core/download/download_channel.h"
#include "core/twips.h"
#include "feeds/operator_words.h"
#include "graph/chart_series.h"
#include "graph/graph_menu.h"
#include "graph/graph_panel.h"
#include "pages/notice_window.h"
#include "pages/page_sections.h"
#include "platform/always_on_top.h"
#include "platform/browser.h"
#include "platform/data_files.h"
#include "platform/desktop_notifier.h"
#include "platform/published_items_bus.h"
#include "platform/sound_player.h"
#include "platform/tray_icon.h"
#include "platform/window_system.h"
#include "refresh/current_feeds.h"
#include "settings/app_settings.h"
#include "status/condition_images.h"
#include "status/condition_levels.h"
#include "status/notice_style.h"
#include "status/status_presentation.h"
#include "status/tray_click_protocol.h"
#include "ui/conditions_panel.h"
#include "ui/exit_prompt.h"
#include "ui/fitting_label.h"
#include "ui/label_styles.h"
#include "ui/link_table.h"
#include "ui/main_face.h"
#include "ui/options_dialog.h"
#include "ui/status_strip.h"
#include "ui/window_placement.h"
#include "ui/update_checker.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>

#include <cstdio>

namespace voltwise {

namespace {
constexpr double kClientWidthTwips = 4875;
constexpr double kDetailsHeightTwips = 7500;
constexpr double kShortHeightTwips = 2400;
constexpr int kConditionsTab = 1;

// Without a browser the notice still shows; its link opens nothing.
class NoBrowserOpener : public BrowserOpener
{
public:
    bool Open(const QString &) override { return false; }
};

void setTextIfChanged(QPlainTextEdit *view, const QString &text)
{
    // Rewriting the same text would throw away the reader's scroll position.
    if (view->toPlainText() != text)
        view->setPlainText(text);
}
} // namespace

MainWindow::MainWindow(MainWindowServices services, QWidget *parent)
    : QMainWindow(parent)
    , m_services(std::move(services))
    , m_alert(m_services.servers.gridContent)
{
    m_alert.setStatusPage(NoticeLinkPage(m_services.servers));
    setObjectName(u"frmMain"_qs);
    setWindowTitle(u"Voltwise"_qs);
    setWindowIcon(ConditionIcon(kInitialImageIndex));

    m_channel = new DownloadChannel(this);
    m_channel->setObjectName(u"inetDownloader"_qs);
    connect(m_channel, &DownloadChannel::progressText, this, &MainWindow::setStatusBarText);

    m_bus = new PublishedItemsBus(this);
    if (m_services.publishOnBus)
        m_bus->registerOnSessionBus();

    auto *client = new QWidget(this);
    client->setObjectName(u"clientArea"_qs);
    setCentralWidget(client);

    buildMenus();
    m_updates = new UpdateChecker({.store = m_services.store,
                                   .browser = m_services.browser,
                                   .maker = m_services.servers.maker,
                                   .locale = m_services.locale,
                                   .prompt = m_services.updatePrompt},
                                  this, m_menus.mnuHelpUpdate);

    // The menu and status bars come with the face: they load plugins and
    // measure text.
    // Read-outs such as "Hour-Ahead Demand Forecast: 43,133MW at 3:00:00 PM"
    // are wider than the window in most desktop fonts.
    sbStatusBar = new FittingLabel(this, 5.0);
    sbStatusBar->setObjectName(u"sbStatusBar"_qs);

    tmrMinute = new QTimer(this);
    tmrMinute->setObjectName(u"tmrMinute"_qs);
    tmrMinute->setInterval(m_services.minuteMilliseconds);
    connect(tmrMinute, &QTimer::timeout, this, [this] { tmrMinute_Timer(); });

    buildTray();

    setFixedWidth(TwipsToPixels(kClientWidthTwips));
    applyDetailsHeight();
}

MainWindow::~MainWindow()
{
    // A refresh under way resumes after the window is gone; it must start no
    // further download.
    m_cancellation->cancelled = true;
}

void MainWindow::ensureFace()
{
    if (m_strip)
        return;
    m_face = BuildMainFace(centralWidget(), m_services.locale);
    const MainFace &face = m_face;
    m_strip = face.strip;
    chkDetails = face.chkDetails;
    tabMain = face.tabMain;
    m_panels = face.panels;
    picGraph = face.picGraph;
    m_conditions = face.conditions;
    rtbNotices = face.rtbNotices;
    rtbForecasts = face.rtbForecasts;
    PlaceMainMenus(menuBar(), m_menus, m_graphMenu->menu());
    statusBar()->addWidget(sbStatusBar, 1);
    statusBar()->setSizeGripEnabled(false);
    connect(chkDetails, &QCheckBox::toggled, this, &MainWindow::chkDetails_Click);
    connect(picGraph, &GraphPanel::readoutChanged, this, &MainWindow::setStatusBarText);
    connect(tabMain, &QTabBar::currentChanged, this, &MainWindow::tabMain_Click);
    applyLoadedFace();
    ApplyGraphValues();
    applyGraphKind();
    fitToFont();
}

void MainWindow::fitToFont()
{
    m_faceHeights = FitFaceToFont(m_face);
    applyDetailsHeight();
}

void MainWindow::applyLoadedFace()
{
    m_strip->setConditionText(*ShownConditionText(LevelUnknown));
    m_strip->setConditionImage(kInitialImageIndex);
    chkDetails->setChecked(m_settings.ShowDetails);
}

void MainWindow::setVisible(bool visible)
{
    if (visible)
        ensureFace();
    QMainWindow::setVisible(visible);
}

void MainWindow::buildMenus()
{
    m_menus = BuildMainMenus(this);
    const MainMenus &m = m_menus;
    connect(m.mnuFileUpdate, &QAction::triggered, this, &MainWindow::mnuFileUpdate_Click);
    connect(m.mnuFileClose, &QAction::triggered, this, &MainWindow::mnuFileClose_Click);
    connect(m.mnuFileExit, &QAction::triggered, this, &MainWindow::mnuFileExit_Click);
    for (int i = 0; i < m.mnuViewSub.size(); ++i)
        connect(m.mnuViewSub[i], &QAction::triggered, this, [this, i] { mnuViewSub_Click(i); });
    connect(m.mnuViewAlwaysOnTop, &QAction::triggered, this, &MainWindow::mnuViewAlwaysOnTop_Click);
    // Both link menus open the same target for the same index.
    for (const QList<QAction *> &links : {m.mnuToolsSub, m.mnuSysTraySub}) {
        for (int i = 0; i < links.size(); ++i)
            connect(links[i], &QAction::triggered, this, [this, i] { mnuToolsSub_Click(i); });
    }
    for (QAction *options : {m.mnuToolsOptions, m.mnuSysTrayOptions})
        connect(options, &QAction::triggered, this, [this] { mnuToolsOptions_Click(); });
    for (QAction *help : {m.mnuHelpTopics, m.mnuSysTrayHelp})
        connect(help, &QAction::triggered, this, &MainWindow::mnuHelpTopics_Click);
    for (QAction *about : {m.mnuHelpAbout, m.mnuSysTrayAbout})
        connect(about, &QAction::triggered, this, &MainWindow::mnuHelpAbout_Click);
    connect(m.mnuSysTrayDetails, &QAction::triggered, this, &MainWindow::showDetails);
    connect(m.mnuSysTrayExit, &QAction::triggered, this, &MainWindow::mnuFileExit_Click);

    m_graphMenu = GraphMenu::create(this);
    connect(m_graphMenu, &GraphMenu::seriesItemClicked, this, &MainWindow::mnuGraphSub_Click);
}

void MainWindow::buildTray()
{
    m_trayClicks = new TrayClickProtocol(this);
    m_trayClicks->setObjectName(u"tmrLeftButtonClick"_qs);
    connect(m_trayClicks, &TrayClickProtocol::showMenu, this, [this] {
        activateWindow(); // the menu must close when the user clicks elsewhere
        m_menus.mnuSysTray->popup(QCursor::pos());
    });
    connect(m_trayClicks, &TrayClickProtocol::showDetails, this, &MainWindow::showDetails);
    if (!m_services.makeTray)
        return;
    m_tray = m_services.makeTray(m_menus.mnuSysTray, this);
    connect(m_tray, &TrayIcon::mouseEvent, m_trayClicks, &TrayClickProtocol::handle);
}

QCoro::Task<> MainWindow::Form_Load()
{
    QPointer<MainWindow> self(this);
    m_settings = LoadAppSettings(*m_services.store, m_services.locale);

    if (m_tray) {
        m_tray->setIcon(ConditionIcon(kInitialImageIndex));
        m_tray->setToolTip(InitialTrayTip());
        m_tray->show();
    }

    RestoreWindowPlacement(this, 0, *m_services.store, m_services.locale);
    applyDetailsHeight();
    if (m_strip)
        applyLoadedFace();

    // Before the window shows, so that a chart set aside for the picture is
    // never built.
    SetupOutlookInfo();
    ApplyGraphValues();
    applyGraphKind();

    if (m_settings.ShowAtStartup)
        show();
    applyAlwaysOnTop();
    QTimer::singleShot(m_services.trayWait, this, &MainWindow::showWithoutTray);

    co_await RefreshAll();
    if (!self)
        co_return;
}

QCoro::Task<> MainWindow::RefreshAll()
{
    if (m_refreshing || m_unloaded)
        co_return;
    m_refreshing = true;
    tmrMinute->stop();
    m_menus.mnuFileUpdate->setEnabled(false);
    setStatusBarText(tr("Updating..."));

    QPointer<MainWindow> self(this);
    const auto cancellation = m_cancellation;
    co_await ReadAllSources(*m_channel, m_services.servers, m_data, m_services.locale, cancellation,
                            m_services.clock, m_services.refreshDeadline);
    if (!self)
        co_return;
    if (!cancellation->cancelled)
        ShowStatus();
    ensureFace();

    setStatusBarText(QString());
    m_menus.mnuFileUpdate->setEnabled(true);
    m_refreshing = false;
    if (!m_unloaded)
        tmrMinute->start();
    Q_EMIT refreshFinished();
    if (m_quitWhenRefreshEnds)
        m_services.quit();
}

QCoro::Task<> MainWindow::tmrMinute_Timer()
{
    QPointer<MainWindow> self(this);
    if (m_minuteCounter.shouldRefresh(m_settings.AutoCheck))
        co_await RefreshAll();
    if (!self)
        co_return;
    m_minuteCounter.advance(m_settings.UpdateInterval);
}

void MainWindow::mnuFileUpdate_Click()
{
    RefreshAll();
}

void MainWindow::mnuFileClose_Click()
{
    hide();
}

void MainWindow::mnuFileExit_Click()
{
    requestUnload(UnloadMode::ProgramRequest);
}

void MainWindow::mnuViewSub_Click(int index)
{
    ensureFace();
    tabMain->setCurrentIndex(index);
}

void MainWindow::mnuViewAlwaysOnTop_Click()
{
    m_settings.AlwaysOnTop = !m_settings.AlwaysOnTop;
    applyAlwaysOnTop();
}

void MainWindow::applyAlwaysOnTop()
{
    // The mark follows the user's choice even where the desktop ignores it.
    SetAlwaysOnTop(this, m_settings.AlwaysOnTop);
    m_menus.mnuViewAlwaysOnTop->setChecked(m_settings.AlwaysOnTop);
}

void MainWindow::mnuToolsSub_Click(int index)
{
    QString url = LinkUrl(index, m_services.servers).toString();
    if (m_services.browser)
        OpenInBrowser(url, *m_services.browser);
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
        applyGraphKind();
}

void MainWindow::mnuHelpTopics_Click()
{
    QString url = HelpTopicsUrl(m_services.servers).toString();
    if (m_services.browser)
        OpenInBrowser(url, *m_services.browser);
}

void MainWindow::mnuHelpAbout_Click()
{
    ShowAboutBox(this);
}

void MainWindow::showDetails()
{
    showNormal();
    raise();
    activateWindow();
}

void MainWindow::ShowStatus()
{
    const QLocale &locale = m_services.locale;
    const StatusPresentation p = PresentStatus(m_data.Status, locale);

    m_published = p.publishedItems(m_published);
    const QString operatorStatus = OperatorStatusText(m_data.OperatorStatus);
    m_bus->setItems(m_published.UpdateTime, m_published.SystemCondition, m_published.CurrentLoad,
                    operatorStatus);
    if (p.imageIndex && p.trayTip && m_tray) {
        m_tray->setIcon(ConditionIcon(*p.imageIndex));
        m_tray->setToolTip(*p.trayTip);
    }
    ensureFace();
    // The operator's own words beside the program's level.
    tabMain->setTabToolTip(kConditionsTab,
                           ConditionsTip() +
                               (operatorStatus.isEmpty()
                                    ? QString()
                                    : u'\n' + tr("Grid operator: %1").arg(operatorStatus)));

    if (p.imageIndex) {
        m_strip->setConditionImage(*p.imageIndex);
        setWindowIcon(ConditionIcon(*p.imageIndex));
    }
    if (p.lblStatusText)
        m_strip->setConditionText(*p.lblStatusText);
    m_strip->lightScales(p.lblStatus, p.lblForecast);

    if (m_data.PendingGraphPicture) {
        picGraph->showPicture(*m_data.PendingGraphPicture);
        m_data.PendingGraphPicture.reset();
    }
    picGraph->chartStep(m_data.Outlook, m_data.Status);

    for (size_t i = 0; i < p.lblCurrentCondition.size(); ++i)
        m_conditions->lblCurrentCondition[i]->setText(p.lblCurrentCondition[i]);
    for (size_t i = 0; i < p.lblLoadReduction.size(); ++i)
        m_conditions->lblLoadReduction[i]->setText(p.lblLoadReduction[i]);

    setTextIfChanged(rtbNotices, CapShownText(m_data.Notices.NoticesText));
    setTextIfChanged(rtbForecasts, CapShownText(m_data.ForecastsText));

    if (const auto notice = m_alert.check(m_data.Notices.StatusTableText, m_data.Status.Level,
                                          m_strip->lblStatusText->text(),
                                          m_data.Status.ActualDemand, m_settings.PlaySound, locale))
        raiseAlert(*notice, m_data.Status.Level);
}

void MainWindow::SetupOutlookInfo()
{
    for (int series = 1; series <= OutlookSeriesCount; ++series)
        m_graphMenu->addSeriesItem(ShownSeriesName(series));
}

void MainWindow::ApplyGraphValues()
{
    const SeriesVisibility shown = SeriesShown(m_settings.GraphValues);
    if (picGraph)
        picGraph->showSeries(shown);
    m_graphMenu->setChecks(shown);
}

void MainWindow::mnuGraphSub_Click(int index)
{
    // Saved with the other settings when the window unloads.
    m_settings.GraphValues = FlipGraphValue(m_settings.GraphValues, index);
    ApplyGraphValues();
}

bool MainWindow::hasTray() const
{
    return m_tray && m_tray->isPresent();
}

void MainWindow::showWithoutTray()
{
    if (m_unloaded || hasTray())
        return;
    std::fputs("voltwise: no notification area (system tray) found; showing the window, which "
               "minimises to the taskbar until one appears\n",
               stderr);
    if (!isVisible())
        show();
}

void MainWindow::raiseAlert(const ChangeNotice &notice, int level)
{
    if (notice.PlaySound && m_services.sound)
        m_services.sound->PlayWave(DataFilePath(u"notice.wav"_qs));
    if (m_services.notifier && NoticeGoesToDesktop(m_settings.NoticeStyle, WindowsCanBePlaced()))
        notifyOnDesktop(notice, level);
    else
        showNoticeWindow(notice);
}

QCoro::Task<> MainWindow::notifyOnDesktop(ChangeNotice notice, int level)
{
    QPointer<MainWindow> self(this);
    const bool shown = co_await m_services.notifier->show(notice, level);
    // Without a server that takes it, the notice still reaches the user.
    if (self && !shown && !m_unloaded)
        showNoticeWindow(notice);
}

void MainWindow::showNoticeWindow(const ChangeNotice &notice)
{
    static NoBrowserOpener noBrowser;
    auto *window = new NoticeWindow(m_services.browser ? *m_services.browser : noBrowser);
    window->setWindowTitle(tr("Voltwise Notice"));
    window->ScrollNotice(notice.NoticeHeader, notice.NoticeText, notice.ClickText,
                         notice.ClickURL.toString(), palette().color(QPalette::ToolTipBase),
                         notice.Delay, nullptr);
    Q_EMIT noticeRaised(window);
}

void MainWindow::chkDetails_Click()
{
    m_settings.ShowDetails = chkDetails->isChecked();
    applyDetailsHeight();
}

void MainWindow::applyDetailsHeight()
{
    // The height counts the client area with its menu and status bars; the
    // window manager adds its own frame.
    const double twips = m_settings.ShowDetails ? kDetailsHeightTwips : kShortHeightTwips;
    // Taller when the desktop's font makes the bars or the rows taller.
    int needed = 0;
    if (m_strip)
        needed =
            menuBar()->sizeHint().height() + statusBar()->sizeHint().height() +
            (m_settings.ShowDetails ? m_faceHeights.withDetails : m_faceHeights.withoutDetails);
    setFixedHeight(std::max(TwipsToPixels(twips), needed));
}

void MainWindow::tabMain_Click(int index)
{
    m_panels->setCurrentIndex(index);
    m_menus.mnuViewSub.value(index)->setChecked(true);
    m_graphMenu->setSeriesItemsEnabled(!m_settings.CAISOGraph);
}

void MainWindow::applyGraphKind()
{
    // The chart, or the operator's picture for those who prefer it.
    if (picGraph)
        picGraph->setChartShown(!m_settings.CAISOGraph);
}

void MainWindow::setStatusBarText(const QString &text)
{
    sbStatusBar->setText(text);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_unloading) {
        event->accept();
        return;
    }
    event->ignore();
    requestUnload(UnloadMode::UserClose);
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::FontChange && m_strip)
        fitToFont();
    // Minimised, the window lives on in the notification area; without one
    // it stays on the taskbar so the user can still reach it.
    if (event->type() == QEvent::WindowStateChange && isMinimized() && hasTray())
        QTimer::singleShot(0, this, &QWidget::hide);
}

QCoro::Task<bool> MainWindow::requestUnload(UnloadMode mode)
{
    // One question at a time; only the end of the session overrides an open one.
    if (m_unloading || m_unloaded || (m_asking && mode != UnloadMode::SessionEnd))
        co_return false;
    QPointer<MainWindow> self(this);
    bool goOn = true;
    switch (mode) {
    case UnloadMode::UserClose:
        // Saved first: minimising must not be remembered as the state to
        // start in.
        SaveWindowPlacement(this, *m_services.store, m_services.locale);
        if (hasTray())
            hide();
        else
            showMinimized();
        co_return false;
    case UnloadMode::ProgramRequest:
        m_asking = true;
        goOn = m_services.exitPrompt ? co_await m_services.exitPrompt->confirmExit(this) : true;
        if (!self)
            co_return false;
        m_asking = false;
        if (m_unloaded) // the session ended while the question was open
            co_return false;
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
    if (m_unloaded)
        return;
    SaveWindowPlacement(this, *m_services.store, m_services.locale);
    SaveMainWindowSettings(*m_services.store, m_settings);
}

void MainWindow::Form_Unload()
{
    m_unloading = true;
    m_updates->cancel();
    if (m_options && m_options->isVisible()) // closing it saves what it saves on any close
        m_options->reject();
    SaveMainWindowSettings(*m_services.store, m_settings);
    if (m_tray)
        m_tray->hide();
    tmrMinute->stop();
    hide();
    m_unloaded = true;
    Q_EMIT unloaded();
    if (m_refreshing) {
        // Let the refresh wind down before the program ends.
        m_cancellation->cancelled = true;
        m_quitWhenRefreshEnds = true;
        m_channel->abort();
        return;
    }
    m_services.quit();
}

} // namespace voltwise
