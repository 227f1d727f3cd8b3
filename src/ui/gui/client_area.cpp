#include "ui/gui/client_area.h"

#include "core/twips.h"
#include "graph/chart_series.h"
#include "graph/gui/graph_menu.h"
#include "graph/gui/graph_panel.h"
#include "settings/app_settings.h"
#include "status/condition_levels.h"
#include "status/status_presentation.h"
#include "ui/gui/fitting_label.h"
#include "ui/gui/main_menus.h"
#include "ui/gui/status_strip.h"

#include <QCheckBox>
#include <QMainWindow>
#include <QMenuBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>

#include <algorithm>

namespace voltwise {

namespace {
constexpr double kClientWidthTwips = 4875;
constexpr double kDetailsHeightTwips = 7500;
constexpr double kShortHeightTwips = 2400;
} // namespace

ClientArea::ClientArea(QMainWindow *window, AppSettings &settings, const MainMenus &menus,
                       GraphMenu *graphMenu, const QLocale &locale)
    : QObject(window)
    , m_window(window)
    , m_settings(settings)
    , m_menus(menus)
    , m_graphMenu(graphMenu)
    , m_locale(locale)
{
    auto *client = new QWidget(window);
    client->setObjectName(u"clientArea"_qs);
    window->setCentralWidget(client);
    // The menu and status bars come with the face: they load plugins and
    // measure text. Read-outs such as "Hour-Ahead Demand Forecast: 43,133MW at 3:00:00 PM"
    // are wider than the window in most desktop fonts.
    sbStatusBar = new FittingLabel(window, 5.0);
    sbStatusBar->setObjectName(u"sbStatusBar"_qs);
    window->setFixedWidth(TwipsToPixels(kClientWidthTwips));
    applyDetailsHeight();
}

void ClientArea::ensureBuilt()
{
    if (isBuilt())
        return;
    m_face = BuildMainFace(m_window->centralWidget(), m_locale);
    PlaceMainMenus(m_window->menuBar(), m_menus, m_graphMenu->menu());
    m_window->statusBar()->addWidget(sbStatusBar, 1);
    m_window->statusBar()->setSizeGripEnabled(false);
    connect(m_face.chkDetails, &QCheckBox::toggled, this, [this](bool checked) {
        m_settings.ShowDetails = checked;
        applyDetailsHeight();
    });
    connect(m_face.picGraph, &GraphPanel::readoutChanged, this, &ClientArea::setStatusText);
    connect(m_face.tabMain, &QTabBar::currentChanged, this, &ClientArea::tabMain_Click);
    applyLoadedSettings();
    applyGraphValues();
    applyGraphKind();
    fitToFont();
}

void ClientArea::applyLoadedSettings()
{
    applyDetailsHeight();
    if (!isBuilt())
        return;
    m_face.strip->setConditionText(*ShownConditionText(LevelUnknown));
    m_face.strip->setConditionImage(kInitialImageIndex);
    m_face.chkDetails->setChecked(m_settings.ShowDetails);
}

void ClientArea::fitToFont()
{
    if (!isBuilt())
        return;
    // Longer menu titles, as in Spanish, take a smaller font rather than
    // hiding the last menus behind the bar's extension button.
    ShrinkFontToWidth(m_window->menuBar(), m_window->width());
    m_heights = FitFaceToFont(m_face);
    applyDetailsHeight();
}

void ClientArea::applyDetailsHeight()
{
    // The height counts the client area with its menu and status bars; the
    // window manager adds its own frame.
    const double twips = m_settings.ShowDetails ? kDetailsHeightTwips : kShortHeightTwips;
    // Taller when the desktop's font makes the bars or the rows taller.
    int needed = 0;
    if (isBuilt())
        needed = m_window->menuBar()->sizeHint().height() +
                 m_window->statusBar()->sizeHint().height() +
                 (m_settings.ShowDetails ? m_heights.withDetails : m_heights.withoutDetails);
    m_window->setFixedHeight(std::max(TwipsToPixels(twips), needed));
}

void ClientArea::applyGraphValues()
{
    const SeriesVisibility shown = SeriesShown(m_settings.GraphValues);
    if (m_face.picGraph)
        m_face.picGraph->showSeries(shown);
    m_graphMenu->setChecks(shown);
}

void ClientArea::applyGraphKind()
{
    // The chart, or the operator's picture for those who prefer it.
    if (m_face.picGraph)
        m_face.picGraph->setChartShown(!m_settings.CAISOGraph);
}

void ClientArea::selectTab(int index)
{
    ensureBuilt();
    m_face.tabMain->setCurrentIndex(index);
}

void ClientArea::tabMain_Click(int index)
{
    m_face.panels->setCurrentIndex(index);
    m_menus.mnuViewSub.value(index)->setChecked(true);
    m_graphMenu->setSeriesItemsEnabled(!m_settings.CAISOGraph);
}

void ClientArea::setStatusText(const QString &text)
{
    sbStatusBar->setText(text);
}

void ClientArea::showStatus(const StatusPresentation &p, const GridData &data)
{
    ensureBuilt();
    ShowOnFace(m_face, p, data);
}

} // namespace voltwise
