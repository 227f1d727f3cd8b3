#pragma once

#include <QString>

namespace voltwise {

// Where a data file of the program (such as "notice.wav") lives: beside the
// executable, as in the build tree, or in <prefix>/share/voltwise when the
// program is installed as <prefix>/bin. The first of the two that holds the
// file wins; when neither does, the path beside the executable is returned.
QString DataFilePath(const QString &name, const QString &programFolder);

// The same for the running program's own folder.
QString DataFilePath(const QString &name);

} // namespace voltwise
