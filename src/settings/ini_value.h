#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <QVariant>

namespace voltwise {

// A value of an INI configuration file in the form QSettings reads and
// writes, as it stands after the "=" of its line.

// What QSettings would read from the value: a QString (also for
// "@String(...)"), a QStringList for an unquoted comma list, a QByteArray for
// "@ByteArray(...)", the stored variant for "@Variant(...)" and
// "@DateTime(...)", an invalid variant for "@Invalid()".
QVariant IniValueData(QByteArrayView value);

// The value QSettings writes for a text: escaped, quoted where a comma,
// semicolon, equals sign or outer blank needs it, non-ASCII as UTF-8.
QByteArray IniTextValue(QStringView text);

// The value of a hexadecimal digit in any letter case; -1 for anything else.
int HexDigit(char16_t c);

} // namespace voltwise
