#include "ui/gui/main_face.h"

#include "core/twips.h"
#include "feeds/operator_words.h"
#include "graph/gui/graph_panel.h"
#include "model/grid_data.h"
#include "pages/page_sections.h"
#include "status/status_presentation.h"
#include "ui/gui/conditions_panel.h"
#include "ui/gui/status_strip.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTabBar>

#include <algorithm>

namespace voltwise {

namespace {
constexpr int kConditionsTab = 1;

void setTextIfChanged(QPlainTextEdit *view, const QString &text)
{
    // Rewriting the same text would throw away the reader's scroll position.
    if (view->toPlainText() != text)
        view->setPlainText(text);
}
} // namespace

QString ConditionsTip()
{
    return QCoreApplication::translate("MainFace", "Current System Conditions");
}

MainFace BuildMainFace(QWidget *client, const QLocale &locale)
{
    // In this order: the keyboard's tab order follows it.
    MainFace face;
    face.strip = new StatusStrip(client);

    face.chkDetails =
        new QCheckBox(QCoreApplication::translate("MainFace", "Show Details"), client);
    face.chkDetails->setObjectName(u"chkDetails"_qs);

    face.tabMain = new QTabBar(client);
    face.tabMain->setObjectName(u"tabMain"_qs);
    face.tabMain->setDrawBase(true);
    face.tabMain->setExpanding(false);
    const QStringList captions = {QCoreApplication::translate("MainFace", "Graph"),
                                  QCoreApplication::translate("MainFace", "Conditions"),
                                  QCoreApplication::translate("MainFace", "Notices"),
                                  QCoreApplication::translate("MainFace", "Forecasts")};
    const QStringList tips = {QCoreApplication::translate("MainFace", "Daily System Load Graph"),
                              ConditionsTip(),
                              QCoreApplication::translate("MainFace", "Current Active Notices"),
                              QCoreApplication::translate("MainFace", "Forecasted Notifications")};
    for (int i = 0; i < captions.size(); ++i) {
        face.tabMain->addTab(captions[i]);
        face.tabMain->setTabToolTip(i, tips[i]);
    }

    face.panels = new QStackedWidget(client);
    face.panels->setObjectName(u"tabPanels"_qs);

    face.picGraph = new GraphPanel(locale);
    face.panels->addWidget(face.picGraph);

    face.conditions = new ConditionsPanel;
    face.panels->addWidget(face.conditions);

    face.rtbNotices = new QPlainTextEdit;
    face.rtbNotices->setObjectName(u"rtbNotices"_qs);
    face.rtbForecasts = new QPlainTextEdit;
    face.rtbForecasts->setObjectName(u"rtbForecasts"_qs);
    for (QPlainTextEdit *view : {face.rtbNotices, face.rtbForecasts}) {
        view->setReadOnly(true);
        view->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        face.panels->addWidget(view);
    }
    FitFaceToFont(face);
    return face;
}

namespace {

// The designed rows, at the designed font.
const QRect kDetailsRow = TwipsRect(60, 1140, 4755, 300);
const QRect kTabsRow = TwipsRect(60, 1440, 4755, 330);
const QRect kPanels = TwipsRect(135, 1770, 4590, 4575);
// Below this, captions are no longer read at a glance.
constexpr qreal kSmallestCaptionPoints = 6.0;

} // namespace

void ShrinkFontToWidth(QWidget *widget, int width)
{
    QFont font = QApplication::font(widget);
    widget->setFont(font);
    while (widget->sizeHint().width() > width && font.pointSizeF() > kSmallestCaptionPoints) {
        font.setPointSizeF(font.pointSizeF() - 0.25);
        widget->setFont(font);
    }
}

FaceHeights FitFaceToFont(const MainFace &face)
{
    QTabBar *tabs = face.tabMain;
    ShrinkFontToWidth(tabs, kTabsRow.width());

    QCheckBox *details = face.chkDetails;
    const QSize switchSize = details->sizeHint();
    details->setGeometry(kDetailsRow.left(), kDetailsRow.top(), switchSize.width(),
                         std::max(kDetailsRow.height(), switchSize.height()));
    const int tabsTop = std::max(kTabsRow.top(), details->geometry().bottom() + 1);
    tabs->setGeometry(kTabsRow.left(), tabsTop, kTabsRow.width(),
                      std::max(kTabsRow.height(), tabs->sizeHint().height()));
    const int panelsTop = std::max(kPanels.top(), tabs->geometry().bottom() + 1);
    face.panels->setGeometry(kPanels.left(), panelsTop, kPanels.width(), kPanels.height());
    return {face.panels->geometry().bottom() + 1, tabsTop};
}

void ShowOnFace(const MainFace &face, const StatusPresentation &p, const GridData &data)
{
    // The operator's own words beside the program's level.
    const QString operatorStatus = OperatorStatusText(data.OperatorStatus);
    face.tabMain->setTabToolTip(
        kConditionsTab,
        ConditionsTip() +
            (operatorStatus.isEmpty()
                 ? QString()
                 : u'\n' + QCoreApplication::translate("voltwise::MainWindow", "Grid operator: %1")
                               .arg(operatorStatus)));

    if (p.imageIndex)
        face.strip->setConditionImage(*p.imageIndex);
    if (p.lblStatusText)
        face.strip->setConditionText(*p.lblStatusText);
    face.strip->lightScales(p.lblStatus, p.lblForecast);

    if (data.PendingGraphPicture)
        face.picGraph->showPicture(*data.PendingGraphPicture);
    face.picGraph->chartStep(data.Outlook, data.Status);

    for (size_t i = 0; i < p.lblCurrentCondition.size(); ++i)
        face.conditions->lblCurrentCondition[i]->setText(p.lblCurrentCondition[i]);
    for (size_t i = 0; i < p.lblLoadReduction.size(); ++i)
        face.conditions->lblLoadReduction[i]->setText(p.lblLoadReduction[i]);

    setTextIfChanged(face.rtbNotices, CapShownText(data.Notices.NoticesText));
    setTextIfChanged(face.rtbForecasts, CapShownText(data.ForecastsText));
}

} // namespace voltwise
