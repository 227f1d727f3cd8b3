#pragma once

#include "graph/chart_series.h"

#include <QList>
#include <QObject>

class QAction;
class QMenu;
class QWidget;

namespace voltwise {

// The Graph menu: the separator mnuGraphSub(0), then one checkable item per
// chart series, mnuGraphSub(1) onwards, added at set-up.
class GraphMenu : public QObject
{
    Q_OBJECT

public:
    // Fills menu, which the caller has placed.
    explicit GraphMenu(QMenu *menu);
    // A new "&Graph" menu (mnuGraph), owned by `owner`, for the caller to place.
    static GraphMenu *create(QWidget *owner);

    QMenu *menu() const { return m_menu; }
    // At the index after the highest so far, captioned with the series name.
    QAction *addSeriesItem(const QString &seriesName);
    const QList<QAction *> &seriesItems() const { return m_items; }

    void setChecks(const SeriesVisibility &shown);
    // The series items only mean something while the chart is in use.
    void setSeriesItemsEnabled(bool enabled);

Q_SIGNALS:
    void seriesItemClicked(int index);

private:
    QMenu *m_menu;
    QList<QAction *> m_items; // index 1 first
};

} // namespace voltwise
