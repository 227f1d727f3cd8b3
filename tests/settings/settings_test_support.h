#pragma once

#include "settings/qsettings_registry.h"
#include "support/files.h"

#include <QTemporaryDir>
#include <QTest>

using voltwise::testing::ReadBytes;
using voltwise::testing::WriteBytes;

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
