#include "ui/gui/main_menus.h"

#include "ui/about_text.h"
#include "ui/link_table.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>

namespace voltwise {

namespace {

QString Indexed(QStringView name, int index)
{
    return name.toString() + u'(' + QString::number(index) + u')';
}

QAction *AddItem(QMenu *menu, const QString &name, const QString &caption)
{
    QAction *item = caption == u"-" ? menu->addSeparator() : menu->addAction(caption);
    item->setObjectName(name);
    return item;
}

QMenu *AddMenu(QWidget *owner, const QString &name, const QString &caption)
{
    auto *menu = new QMenu(caption, owner);
    menu->setObjectName(name);
    return menu;
}

QList<QAction *> AddLinks(QMenu *menu, QStringView name, bool trayCaptions)
{
    QList<QAction *> items;
    for (int i = 0; i < int(kLinks.size()); ++i) {
        const Link &link = kLinks[i];
        const char *caption = trayCaptions ? link.trayCaption : link.toolsCaption;
        items << AddItem(menu, Indexed(name, i),
                         link.isSeparator() ? u"-"_qs
                                            : QCoreApplication::translate("Links", caption));
    }
    return items;
}

} // namespace

MainMenus BuildMainMenus(QWidget *owner)
{
    MainMenus m;
    m.mnuFile = AddMenu(owner, u"mnuFile"_qs, QCoreApplication::translate("Menus", "&File"));
    m.mnuFileUpdate = AddItem(m.mnuFile, u"mnuFileUpdate"_qs,
                              QCoreApplication::translate("Menus", "&Update Now"));
    m.mnuFileClose =
        AddItem(m.mnuFile, u"mnuFileClose"_qs, QCoreApplication::translate("Menus", "&Close"));
    m.mnuFileExit =
        AddItem(m.mnuFile, u"mnuFileExit"_qs, QCoreApplication::translate("Menus", "E&xit"));

    m.mnuView = AddMenu(owner, u"mnuView"_qs, QCoreApplication::translate("Menus", "&View"));
    auto *tabs = new QActionGroup(m.mnuView);
    const QStringList views{QCoreApplication::translate("Menus", "&Graph"),
                            QCoreApplication::translate("Menus", "&Conditions"),
                            QCoreApplication::translate("Menus", "&Notices"),
                            QCoreApplication::translate("Menus", "&Forecasts")};
    for (int i = 0; i < views.size(); ++i) {
        QAction *item = AddItem(m.mnuView, Indexed(u"mnuViewSub", i), views[i]);
        item->setCheckable(true);
        item->setChecked(i == 0);
        tabs->addAction(item);
        m.mnuViewSub << item;
    }
    AddItem(m.mnuView, u"mnuViewBar"_qs, u"-"_qs);
    m.mnuViewAlwaysOnTop = AddItem(m.mnuView, u"mnuViewAlwaysOnTop"_qs,
                                   QCoreApplication::translate("Menus", "&Always on Top"));
    m.mnuViewAlwaysOnTop->setCheckable(true);

    m.mnuTools = AddMenu(owner, u"mnuTools"_qs, QCoreApplication::translate("Menus", "&Tools"));
    m.mnuToolsSub = AddLinks(m.mnuTools, u"mnuToolsSub", false);
    AddItem(m.mnuTools, u"mnuToolsBar"_qs, u"-"_qs);
    m.mnuToolsOptions = AddItem(m.mnuTools, u"mnuToolsOptions"_qs,
                                QCoreApplication::translate("Menus", "Options..."));

    m.mnuHelp = AddMenu(owner, u"mnuHelp"_qs, QCoreApplication::translate("Menus", "&Help"));
    m.mnuHelpTopics = AddItem(m.mnuHelp, u"mnuHelpTopics"_qs,
                              QCoreApplication::translate("Menus", "Voltwise &Help (online)..."));
    m.mnuHelpUpdate =
        AddItem(m.mnuHelp, u"mnuHelpUpdate"_qs,
                QCoreApplication::translate("Menus", "&Check for Voltwise Updates..."));
    m.mnuHelpUpdate->setEnabled(false);
    AddItem(m.mnuHelp, u"mnuHelpBar"_qs, u"-"_qs);
    m.mnuHelpAbout = AddItem(m.mnuHelp, u"mnuHelpAbout"_qs,
                             QCoreApplication::translate("Menus", "&About Voltwise..."));

    m.mnuSysTray = new QMenu(u"SysTray"_qs, owner);
    m.mnuSysTray->setObjectName(u"mnuSysTray"_qs);
    m.mnuSysTraySub = AddLinks(m.mnuSysTray, u"mnuSysTraySub", true);
    AddItem(m.mnuSysTray, u"mnuSysTrayBar1"_qs, u"-"_qs);
    m.mnuSysTrayDetails = AddItem(m.mnuSysTray, u"mnuSysTrayDetails"_qs,
                                  QCoreApplication::translate("Menus", "&Details..."));
    m.mnuSysTrayOptions = AddItem(m.mnuSysTray, u"mnuSysTrayOptions"_qs,
                                  QCoreApplication::translate("Menus", "&Options..."));
    AddItem(m.mnuSysTray, u"mnuSysTrayBar2"_qs, u"-"_qs);
    m.mnuSysTrayHelp = AddItem(m.mnuSysTray, u"mnuSysTrayHelp"_qs,
                               QCoreApplication::translate("Menus", "&Help..."));
    m.mnuSysTrayAbout = AddItem(m.mnuSysTray, u"mnuSysTrayAbout"_qs,
                                QCoreApplication::translate("Menus", "&About..."));
    AddItem(m.mnuSysTray, u"mnuSysTrayBar3"_qs, u"-"_qs);
    m.mnuSysTrayExit =
        AddItem(m.mnuSysTray, u"mnuSysTrayExit"_qs, QCoreApplication::translate("Menus", "E&xit"));
    return m;
}

void PlaceMainMenus(QMenuBar *bar, const MainMenus &menus, QMenu *graph)
{
    for (QMenu *menu : {menus.mnuFile, menus.mnuView, graph, menus.mnuTools, menus.mnuHelp})
        if (menu)
            bar->addMenu(menu);
}

void ShowAboutBox(QWidget *parent)
{
    auto *box = new QMessageBox(QMessageBox::Information, AboutCaption(), AboutText(),
                                QMessageBox::Ok, parent);
    box->setObjectName(u"msgAbout"_qs);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

} // namespace voltwise
