#include "settings/qsettings_registry.h"

#include "settings/file_lock.h"
#include "settings/ini_value.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <sys/stat.h>

namespace voltwise {

namespace {

using Level = ConfKeyLocation::Level;

QString GroupPrefix(const QString &group)
{
    return group.isEmpty() ? QString() : group + u'/';
}

// The part of key below group, or a null string when the key lies elsewhere.
QString BelowGroup(const QString &key, const QString &group)
{
    const QString prefix = GroupPrefix(group);
    if (!key.startsWith(prefix))
        return QString();
    return key.mid(prefix.size());
}

bool GroupExists(const IniEntries &entries, const QString &group)
{
    if (group.isEmpty())
        return true;
    const QString prefix = GroupPrefix(group);
    const auto it = entries.lowerBound(prefix);
    return it != entries.cend() && it.key().startsWith(prefix);
}

QVariant RegistryData(const QVariant &stored)
{
    switch (stored.typeId()) {
    case QMetaType::QString:
    case QMetaType::QByteArray:
        return stored;
    case QMetaType::QStringList:
        // An unquoted value with commas, as a person may type it.
        return stored.toStringList().join(u',');
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return QVariant::fromValue(static_cast<qint32>(stored.toLongLong()));
    default:
        return stored.toString().toUtf8();
    }
}

QStringList DirectoryEntries(const QString &path, QDir::Filters filters,
                             const QStringList &nameFilters)
{
    return QDir(path).entryList(nameFilters, filters | QDir::NoDotAndDotDot, QDir::Name);
}

// Hidden, and never taken for a configuration file of its own.
QString LockFilePath(const QString &filePath)
{
    const QFileInfo info(filePath);
    return info.absolutePath() + u"/."_qs + info.fileName() + u".lock"_qs;
}

// A save killed before its commit leaves QSaveFile's temporary copy
// ("<file>.XXXXXX") beside the file. Called under the lock, when no other
// save is under way, so every such copy is stale.
void RemoveStaleSaveFiles(const QString &filePath)
{
    const QFileInfo info(filePath);
    QDir dir = info.absoluteDir();
    const QString name = info.fileName();
    const QStringList stale = dir.entryList({name + u".??????"_qs, name + u".damaged.??????"_qs},
                                            QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &copy : stale)
        dir.remove(copy);
}

} // namespace

RegistryDirectories RegistryDirectoriesFromEnvironment()
{
    RegistryDirectories directories;
    directories.currentUser =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const QString systemDirs = qEnvironmentVariable("XDG_CONFIG_DIRS");
    for (const QString &dir : systemDirs.split(u':', Qt::SkipEmptyParts)) {
        if (QDir::isAbsolutePath(dir))
            directories.localMachine.append(QDir::cleanPath(dir));
    }
    if (directories.localMachine.isEmpty())
        directories.localMachine.append(u"/etc/xdg"_qs);
    return directories;
}

QSettingsRegistryBackend::QSettingsRegistryBackend(RegistryDirectories directories,
                                                   std::chrono::milliseconds lockTimeout)
    : m_directories(std::move(directories))
    , m_lockTimeout(lockTimeout)
{}

QString QSettingsRegistryBackend::baseDirectory(RegistryRoot root, const ConfKeyLocation &location,
                                                bool forWriting) const
{
    if (root == RegistryRoot::CurrentUser)
        return m_directories.currentUser;
    if (m_directories.localMachine.isEmpty())
        return QString();
    if (!forWriting) {
        // Like XDG lookups: the first directory that holds the key wins.
        for (const QString &dir : m_directories.localMachine) {
            const QString relative =
                location.level == Level::File ? location.relativeFilePath() : location.organization;
            if (QFileInfo::exists(dir + u'/' + relative))
                return dir;
        }
    }
    return m_directories.localMachine.first();
}

QString QSettingsRegistryBackend::targetPath(RegistryRoot root, const ConfKeyLocation &location,
                                             bool forWriting) const
{
    const QString base = baseDirectory(root, location, forWriting);
    if (base.isEmpty())
        return QString();
    switch (location.level) {
    case Level::Software:
        return base;
    case Level::Organization:
        return base + u'/' + location.organization;
    case Level::File:
        return base + u'/' + location.relativeFilePath();
    }
    return QString();
}

QSettingsRegistryBackend::Snapshot QSettingsRegistryBackend::readFile(const QString &filePath) const
{
    Snapshot snapshot;
    const QFileInfo info(filePath);
    if (!info.exists()) {
        m_reportedFiles.remove(filePath);
        return snapshot;
    }

    // A FIFO or a device would block the read, or never end it.
    QFile file(filePath);
    bool readable = info.isFile() && file.open(QIODevice::ReadOnly);
    bool oversized = false;
    if (readable) {
        snapshot.text = file.read(kMaxFileSize + 1);
        readable = file.error() == QFileDevice::NoError;
        oversized = snapshot.text.size() > kMaxFileSize;
    }
    std::optional<IniEntries> entries;
    if (readable && !oversized)
        entries = ParseIni(snapshot.text);

    if (entries) {
        snapshot.state = FileState::Ok;
        snapshot.entries = std::move(*entries);
        m_reportedFiles.remove(filePath);
        return snapshot;
    }
    snapshot.state = !readable   ? FileState::Unreadable
                     : oversized ? FileState::Oversized
                                 : FileState::Damaged;
    if (oversized)
        snapshot.text.clear();
    if (!m_reportedFiles.contains(filePath)) {
        m_reportedFiles.insert(filePath);
        qWarning("Settings file %ls is %s; its settings take their defaults until they are saved",
                 qUtf16Printable(QDir::toNativeSeparators(filePath)),
                 !readable   ? "unreadable"
                 : oversized ? "damaged (larger than 1 MiB)"
                             : "damaged");
    }
    return snapshot;
}

bool QSettingsRegistryBackend::replaceFile(const QString &filePath, const QByteArray &text)
{
    // The servers stored here decide what the update check offers: the
    // file is the user's alone, whatever the umask.
    QSaveFile file(filePath);
    return file.open(QIODevice::WriteOnly) && ::fchmod(file.handle(), S_IRUSR | S_IWUSR) == 0 &&
           file.write(text) == text.size() && file.commit();
}

bool QSettingsRegistryBackend::modifyFile(const QString &filePath,
                                          const std::function<bool(IniEntries &)> &change)
{
    const QFileInfo info(filePath);
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    const FileLock lock(LockFilePath(filePath), m_lockTimeout);
    if (!lock.isLocked())
        return false;
    RemoveStaleSaveFiles(filePath);

    Snapshot snapshot = readFile(filePath);
    if (snapshot.state == FileState::Unreadable)
        return false;
    if (!change(snapshot.entries))
        return false;
    const QString damagedPath = filePath + u".damaged"_qs;
    if (snapshot.state == FileState::Damaged && !replaceFile(damagedPath, snapshot.text))
        return false;
    // Moved aside whole rather than read into memory to be copied.
    if (snapshot.state == FileState::Oversized &&
        ((QFile::exists(damagedPath) && !QFile::remove(damagedPath)) ||
         !QFile::rename(filePath, damagedPath) ||
         !QFile::setPermissions(damagedPath, QFile::ReadOwner | QFile::WriteOwner))) {
        return false;
    }
    return replaceFile(filePath, SerializeIni(snapshot.entries));
}

std::optional<QSettingsRegistryBackend::OpenKey>
QSettingsRegistryBackend::openKey(RegistryRoot root, const QString &path) const
{
    const std::optional<ConfKeyLocation> location = LocateRegistryKey(path);
    if (!location)
        return std::nullopt;
    OpenKey key{*location, targetPath(root, *location, false), {}};
    if (key.target.isEmpty())
        return std::nullopt;
    if (location->level != Level::File) {
        if (!QFileInfo(key.target).isDir())
            return std::nullopt;
        return key;
    }
    key.snapshot = readFile(key.target);
    switch (key.snapshot.state) {
    case FileState::Missing:
    case FileState::Unreadable:
        return std::nullopt;
    case FileState::Damaged:
    case FileState::Oversized:
        if (!location->group.isEmpty())
            return std::nullopt;
        return key;
    case FileState::Ok:
        if (!GroupExists(key.snapshot.entries, location->group))
            return std::nullopt;
        return key;
    }
    return std::nullopt;
}

bool QSettingsRegistryBackend::keyExists(RegistryRoot root, const QString &path) const
{
    return openKey(root, path).has_value();
}

std::optional<QStringList> QSettingsRegistryBackend::subKeyNames(RegistryRoot root,
                                                                 const QString &path) const
{
    const std::optional<OpenKey> key = openKey(root, path);
    if (!key)
        return std::nullopt;
    switch (key->location.level) {
    case Level::Software:
        return DirectoryEntries(key->target, QDir::Dirs, {});
    case Level::Organization: {
        QStringList names = DirectoryEntries(key->target, QDir::Files, {u"*.conf"_qs});
        for (QString &name : names)
            name.chop(5);
        return names;
    }
    case Level::File:
        break;
    }

    QStringList names;
    const IniEntries &entries = key->snapshot.entries;
    for (auto it = entries.cbegin(); it != entries.cend(); ++it) {
        const QString below = BelowGroup(it.key(), key->location.group);
        const qsizetype slash = below.indexOf(u'/');
        if (slash > 0) {
            const QString name = below.left(slash);
            if (names.isEmpty() || names.last() != name)
                names.append(name);
        }
    }
    return names;
}

std::optional<QList<RegistryValue>> QSettingsRegistryBackend::values(RegistryRoot root,
                                                                     const QString &path) const
{
    const std::optional<OpenKey> key = openKey(root, path);
    if (!key)
        return std::nullopt;
    QList<RegistryValue> result;
    const IniEntries &entries = key->snapshot.entries;
    for (auto it = entries.cbegin(); it != entries.cend(); ++it) {
        QString name = BelowGroup(it.key(), key->location.group);
        if (name.isEmpty() || name.contains(u'/'))
            continue;
        if (name == u"@")
            name.clear();
        result.append({name, RegistryData(IniValueData(it.value()))});
    }
    return result;
}

std::optional<QVariant> QSettingsRegistryBackend::value(RegistryRoot root, const QString &path,
                                                        const QString &name) const
{
    const std::optional<ConfKeyLocation> location = LocateRegistryKey(path);
    if (!location || location->level != Level::File)
        return std::nullopt;
    const std::optional<QString> key = ConfValueKey(location->group, name);
    if (!key)
        return std::nullopt;
    const QString target = targetPath(root, *location, false);
    if (target.isEmpty())
        return std::nullopt;
    const Snapshot snapshot = readFile(target);
    const auto it = snapshot.entries.constFind(*key);
    if (it == snapshot.entries.cend())
        return std::nullopt;
    return RegistryData(IniValueData(it.value()));
}

bool QSettingsRegistryBackend::setStringValues(RegistryRoot root, const QString &path,
                                               const RegistryStringValues &values)
{
    const std::optional<ConfKeyLocation> location = LocateRegistryKey(path);
    if (!location || location->level != Level::File)
        return false;
    QList<std::pair<QString, QByteArray>> keyed;
    for (const auto &[name, text] : values) {
        const std::optional<QString> key = ConfValueKey(location->group, name);
        if (!key)
            return false;
        keyed.append({*key, IniTextValue(text)});
    }
    const QString target = targetPath(root, *location, true);
    if (target.isEmpty())
        return false;
    return modifyFile(target, [&keyed](IniEntries &entries) {
        for (const auto &[key, text] : keyed)
            entries.insert(key, text);
        return true;
    });
}

bool QSettingsRegistryBackend::deleteValue(RegistryRoot root, const QString &path,
                                           const QString &name)
{
    const std::optional<ConfKeyLocation> location = LocateRegistryKey(path);
    if (!location || location->level != Level::File)
        return false;
    const std::optional<QString> key = ConfValueKey(location->group, name);
    const QString target = targetPath(root, *location, true);
    if (!key || target.isEmpty() || !QFileInfo::exists(target))
        return false;
    return modifyFile(target, [&key](IniEntries &entries) { return entries.remove(*key) > 0; });
}

bool QSettingsRegistryBackend::deleteKey(RegistryRoot root, const QString &path)
{
    const std::optional<ConfKeyLocation> location = LocateRegistryKey(path);
    if (!location || location->level != Level::File)
        return false;
    const QString target = targetPath(root, *location, true);
    if (target.isEmpty() || !QFileInfo::exists(target))
        return false;
    const QString group = location->group;
    if (group.isEmpty()) {
        const FileLock lock(LockFilePath(target), m_lockTimeout);
        return lock.isLocked() && QFileInfo(target).isFile() && QFile::remove(target);
    }
    return modifyFile(target, [&group](IniEntries &entries) {
        const QString prefix = GroupPrefix(group);
        qsizetype removed = 0;
        for (auto it = entries.begin(); it != entries.end();) {
            if (it.key().startsWith(prefix)) {
                it = entries.erase(it);
                ++removed;
            } else {
                ++it;
            }
        }
        return removed > 0;
    });
}

} // namespace voltwise
