#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace voltwise {

// The charset parameter of a Content-Type value, lower case, without
// quotes; empty when there is none.
QByteArray CharsetOf(QByteArrayView contentType);

// Decodes by charset: UTF-8, or windows-1252 for the Latin-1 and ASCII
// family (as browsers do, since servers label windows-1252 pages Latin-1);
// anything else, or nothing, as UTF-8. Invalid UTF-8 becomes U+FFFD.
QString DecodeText(QByteArrayView bytes, QByteArrayView charset);

} // namespace voltwise
