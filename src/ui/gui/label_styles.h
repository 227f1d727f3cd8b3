#pragma once

#include <QFont>
#include <QList>
#include <QPalette>
#include <QString>

#include <utility>

class QLabel;
class QWidget;

namespace voltwise {

// Colours follow the user's scheme: roles, never fixed RGB values.
void SetLabelColours(QLabel *label, QPalette::ColorRole background, QPalette::ColorRole text);
void SetScaleLabelLit(QLabel *label, bool lit);

QFont DesignFont(const QString &family, double pointSize, bool bold = false, bool italic = false);

// Layouts were designed for a narrow font. Where the desktop substitutes a
// wider one, the font shrinks (to 5 pt at the least) until every text fits
// the pixel width given beside it.
QFont FontFittingWidths(QFont font, const QList<std::pair<QString, int>> &textsAndWidths);

} // namespace voltwise
