#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace voltwise {

// Where a registry key lives among configuration files, the way Qt programs
// keep theirs: "Software\Org\App\Section\Sub" is the group "Section/Sub" of
// the file "Org/App.conf" under a configuration directory.
struct ConfKeyLocation
{
    enum class Level
    {
        Software,     // the configuration directory itself
        Organization, // the directory <organization>
        File,         // the file, or a group inside it
    };

    Level level = Level::Software;
    QString organization;
    QString application;
    QString group; // QSettings group with "/" separators; empty for the top level

    // "<organization>/<application>.conf" relative to the configuration directory.
    QString relativeFilePath() const;
};

// nullopt for paths outside "Software" and for names that cannot be mapped
// safely (".", "..", "/" or NUL inside a name).
std::optional<ConfKeyLocation> LocateRegistryKey(QStringView path);

// The QSettings key of a value name inside a group; "" (the unnamed value)
// becomes "@". nullopt for names that QSettings would split.
std::optional<QString> ConfValueKey(const QString &group, const QString &valueName);

} // namespace voltwise
