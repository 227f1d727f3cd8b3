#include "ui/main_face.h"

#include "core/twips.h"
#include "graph/graph_panel.h"
#include "ui/conditions_panel.h"
#include "ui/status_strip.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTabBar>

namespace voltwise {

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
    face.chkDetails->move(TwipsToPixels(60), TwipsToPixels(1140));
    face.chkDetails->adjustSize();

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
    face.tabMain->setGeometry(TwipsRect(60, 1440, 4755, 330));
    // Longer captions (Spanish ones, a large desktop font) take a smaller font
    // rather than tabs hidden behind scroll buttons.
    for (QFont font = face.tabMain->font();
         face.tabMain->sizeHint().width() > face.tabMain->width() && font.pointSizeF() > 7;) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        face.tabMain->setFont(font);
    }

    face.panels = new QStackedWidget(client);
    face.panels->setObjectName(u"tabPanels"_qs);
    face.panels->setGeometry(TwipsRect(135, 1770, 4590, 4575));

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
    return face;
}

} // namespace voltwise
