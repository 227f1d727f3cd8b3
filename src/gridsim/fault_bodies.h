#pragma once

#include <QByteArray>

namespace voltwise::gridsim {

// A gzip member that inflates to `bytes` zero bytes: a few kilobytes on the
// wire for tens of megabytes unpacked.
QByteArray GzipBomb(qint64 bytes);

// The same pseudo-random bytes every time, NULs and every other value among
// them: what a server sends when it answers with the wrong file.
QByteArray NoiseBytes(qint64 bytes);

// The body with byte sequences that are not UTF-8 (a lone continuation byte,
// an overlong form, a surrogate, a cut sequence) after its first line and at
// its end.
QByteArray WithInvalidUtf8(QByteArray body);

} // namespace voltwise::gridsim
