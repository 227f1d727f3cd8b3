#include "graph/gui/graph_menu.h"

#include <QCoreApplication>
#include <QMenu>

namespace voltwise {

GraphMenu::GraphMenu(QMenu *menu)
    : QObject(menu)
    , m_menu(menu)
{
    m_menu->addSeparator()->setObjectName(u"mnuGraphSub(0)"_qs);
}

GraphMenu *GraphMenu::create(QWidget *owner)
{
    auto *menu = new QMenu(QCoreApplication::translate("Menus", "&Graph"), owner);
    menu->setObjectName(u"mnuGraph"_qs);
    return new GraphMenu(menu);
}

QAction *GraphMenu::addSeriesItem(const QString &seriesName)
{
    const int index = int(m_items.size()) + 1;
    QAction *item = m_menu->addAction(seriesName);
    item->setObjectName(u"mnuGraphSub(%1)"_qs.arg(index));
    item->setCheckable(true);
    connect(item, &QAction::triggered, this, [this, index] { Q_EMIT seriesItemClicked(index); });
    m_items.append(item);
    return item;
}

void GraphMenu::setChecks(const SeriesVisibility &shown)
{
    for (qsizetype i = 0; i < m_items.size() && i < qsizetype(shown.size()); ++i)
        m_items[i]->setChecked(shown[std::size_t(i)]);
}

void GraphMenu::setSeriesItemsEnabled(bool enabled)
{
    for (QAction *item : std::as_const(m_items))
        item->setEnabled(enabled);
}

} // namespace voltwise
