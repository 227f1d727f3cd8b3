#pragma once

#include "settings/registry_backend.h"

#include <QLocale>

class QWidget;

namespace voltwise {

// Stores the placement of a top-level window under its objectName in section
// "WindowSettings". False when the window has no objectName or the write fails.
bool SaveWindowPlacement(const QWidget *window, RegistryBackend &store,
                         const QLocale &locale = QLocale::system());

// Puts a window that is being loaded, not yet shown, where it was saved;
// defaultWindowState (0 normal, 1 minimised, 2 maximised) applies when
// nothing valid is stored. It is centred on the primary screen when nothing is
// stored or when too little of it would land on any screen.
void RestoreWindowPlacement(QWidget *window, int defaultWindowState, const RegistryBackend &store,
                            const QLocale &locale = QLocale::system());

} // namespace voltwise
