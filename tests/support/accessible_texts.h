#pragma once
// Every name and description a screen reader finds below a widget, with
// the object name of the widget that carries it.
#include <QAccessible>
#include <QList>
#include <QPair>
#include <QWidget>

namespace voltwise {

inline void CollectAccessibleTexts(QAccessibleInterface *node, QList<QPair<QString, QString>> &out,
                                   int depth = 0)
{
    if (!node || depth > 64)
        return;
    for (QAccessible::Text kind : {QAccessible::Name, QAccessible::Description})
        if (const QString text = node->text(kind); !text.isEmpty())
            out.append({node->object() ? node->object()->objectName() : QString(), text});
    for (int i = 0; i < node->childCount(); ++i)
        CollectAccessibleTexts(node->child(i), out, depth + 1);
}

inline QList<QPair<QString, QString>> AccessibleTexts(QWidget *root)
{
    QList<QPair<QString, QString>> texts;
    CollectAccessibleTexts(QAccessible::queryAccessibleInterface(root), texts);
    return texts;
}

} // namespace voltwise
