#pragma once

#include "settings/conf_key_location.h"
#include "settings/ini_codec.h"
#include "settings/registry_backend.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>

namespace voltwise {

// The configuration directories that stand for the two registry roots.
struct RegistryDirectories
{
    QString currentUser;      // e.g. $XDG_CONFIG_HOME
    QStringList localMachine; // e.g. $XDG_CONFIG_DIRS, the most important first
};

// $XDG_CONFIG_HOME (default ~/.config) and $XDG_CONFIG_DIRS (default /etc/xdg).
RegistryDirectories RegistryDirectoriesFromEnvironment();

// The registry kept in INI files as QSettings writes them:
// "Software\Org\App\Section" is the group [Section] of "<dir>/Org/App.conf".
// Every operation reads the file once; a change reads and writes it once. A
// file is always replaced as a whole, under a lock shared by all processes, so
// a kill at any moment leaves either the old or the new file and concurrent
// writers keep each other's keys. A damaged or unreadable file reads as empty,
// with one warning; an unreadable file is never written, and a damaged one is
// kept beside the new one as "<file>.damaged" when something is written. A
// file larger than kMaxFileSize counts as damaged and is never read whole.
class QSettingsRegistryBackend final : public RegistryBackend
{
public:
    // Far beyond any settings the program writes; a larger file would only
    // cost a slow start and much memory.
    static constexpr qint64 kMaxFileSize = 1024 * 1024;

    // Long enough for another process's save, short enough not to freeze the window.
    static constexpr std::chrono::milliseconds kDefaultLockTimeout{2000};

    // A change waits up to lockTimeout for another process's save.
    explicit QSettingsRegistryBackend(RegistryDirectories directories,
                                      std::chrono::milliseconds lockTimeout = kDefaultLockTimeout);

    bool keyExists(RegistryRoot root, const QString &path) const override;
    std::optional<QStringList> subKeyNames(RegistryRoot root, const QString &path) const override;
    std::optional<QList<RegistryValue>> values(RegistryRoot root,
                                               const QString &path) const override;
    std::optional<QVariant> value(RegistryRoot root, const QString &path,
                                  const QString &name) const override;
    bool setStringValues(RegistryRoot root, const QString &path,
                         const RegistryStringValues &values) override;
    bool deleteValue(RegistryRoot root, const QString &path, const QString &name) override;
    bool deleteKey(RegistryRoot root, const QString &path) override;

private:
    enum class FileState
    {
        Missing,
        Ok,
        Damaged,
        Oversized, // damaged too, and too large to be read or copied
        Unreadable
    };
    struct Snapshot
    {
        FileState state = FileState::Missing;
        QByteArray text;
        IniEntries entries;
    };

    // An existing key with what lies at its place, read once.
    struct OpenKey
    {
        ConfKeyLocation location;
        QString target;    // the directory, or the file
        Snapshot snapshot; // of the file; empty for a directory
    };

    QString baseDirectory(RegistryRoot root, const ConfKeyLocation &location,
                          bool forWriting) const;
    QString targetPath(RegistryRoot root, const ConfKeyLocation &location, bool forWriting) const;
    std::optional<OpenKey> openKey(RegistryRoot root, const QString &path) const;
    Snapshot readFile(const QString &filePath) const;
    bool modifyFile(const QString &filePath, const std::function<bool(IniEntries &)> &change);
    bool replaceFile(const QString &filePath, const QByteArray &text);

    RegistryDirectories m_directories;
    std::chrono::milliseconds m_lockTimeout;
    mutable QSet<QString> m_reportedFiles;
};

} // namespace voltwise
