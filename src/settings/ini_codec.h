#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QMap>
#include <QString>

#include <optional>

namespace voltwise {

// Full keys as QSettings names them ("Section/Key"; a key of the top-level
// [General] section has no "Section/"), each with its value as it stands in
// the file (see ini_value.h). Keeping the values as written means a rewrite
// changes only what was set.
using IniEntries = QMap<QString, QByteArray>;

// The entries of an INI configuration file in the form QSettings reads and
// writes; nullopt where QSettings reports a format error (a section header
// without "]", or a line that is neither a comment nor "key=value").
std::optional<IniEntries> ParseIni(QByteArrayView text);

// The file for the entries: sections in the order of their names with
// [General] first, keys in order within each.
QByteArray SerializeIni(const IniEntries &entries);

} // namespace voltwise
