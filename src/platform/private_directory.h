#pragma once

#include <QString>

namespace voltwise {

// Makes path (and its parents) a folder that only this user may enter:
// created with mode 0700, or, when it exists, a real folder (no link)
// belonging to the user, whose mode is then narrowed to 0700. False for
// anything else, which is left as it is.
bool MakePrivateDirectory(const QString &path);

// True when nothing is at path, or a regular file of this user.
bool IsOwnFileOrMissing(const QString &path);

} // namespace voltwise
