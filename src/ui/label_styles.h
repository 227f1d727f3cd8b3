#pragma once

#include <QFont>
#include <QPalette>

class QLabel;
class QWidget;

namespace voltwise {

// Colours follow the user's scheme: roles, never fixed RGB values.
void SetLabelColours(QLabel *label, QPalette::ColorRole background, QPalette::ColorRole text);
void SetScaleLabelLit(QLabel *label, bool lit);

QFont DesignFont(const QString &family, double pointSize, bool bold = false, bool italic = false);

} // namespace voltwise
