#pragma once

class QWidget;

namespace voltwise {

// Keeps a window above normal windows (onTop) or releases it, without
// moving, resizing, hiding or showing it.
void SetAlwaysOnTop(QWidget *window, bool onTop);

} // namespace voltwise
