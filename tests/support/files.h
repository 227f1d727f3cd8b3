#pragma once

#include <QDir>
#include <QFile>

namespace voltwise::testing {

// Writes the file whole, making its folder first.
inline bool WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return QDir().mkpath(path.section(u'/', 0, -2)) && file.open(QIODevice::WriteOnly) &&
           file.write(bytes) == bytes.size();
}

// The whole file; empty when it cannot be read.
inline QByteArray ReadBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace voltwise::testing
