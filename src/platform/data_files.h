#pragma once

#include <QString>
#include <QStringList>

namespace voltwise {

// Where a data file of the program (such as "notice.wav") lives, in this
// order: beside the executable (the build tree); <prefix>/share/voltwise,
// found from the executable's own place so that any prefix works; voltwise/
// under each of the XDG data directories. The first that holds the file
// wins; when none does, the path beside the executable is returned.
QString DataFilePath(const QString &name, const QString &programFolder,
                     const QStringList &xdgDataDirs);

// A file under the shared data directory, such as an icon of the theme
// ("icons/hicolor/…"): <prefix>/share first, then the XDG data directories.
// Empty when none holds it.
QString SharedDataFilePath(const QString &relativePath, const QString &programFolder,
                           const QStringList &xdgDataDirs);

// The same for the running program. The category "voltwise.files" logs at
// debug level where each file was found, and warns of a missing one.
QString DataFilePath(const QString &name);
QString SharedDataFilePath(const QString &relativePath);

} // namespace voltwise
