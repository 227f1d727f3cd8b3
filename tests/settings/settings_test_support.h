#pragma once

#include "settings/qsettings_registry.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

// A store over configuration directories inside a temporary directory.
struct TempRegistry
{
    QTemporaryDir dir;
    voltwise::QSettingsRegistryBackend store{directories()};

    voltwise::RegistryDirectories directories() const
    {
        return {dir.filePath(u"user"_qs),
                {dir.filePath(u"machine1"_qs), dir.filePath(u"machine2"_qs)}};
    }

    QString userFile(const QString &relative) const { return dir.filePath(u"user/"_qs + relative); }
    QString settingsFile() const { return userFile(u"Ternwood/Voltwise.conf"_qs); }
    QString legacyFile() const { return userFile(u"VB and VBA Program Settings/Voltwise.conf"_qs); }
};

inline bool WriteBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(path.section(u'/', 0, -2));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray ReadBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
