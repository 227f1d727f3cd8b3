#include "settings/qsettings_registry.h"

#include "settings/file_lock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace voltwise {

namespace {

using Level = ConfKeyLocation::Level;

// Long enough for another process's save, short enough not to freeze the window.
constexpr std::chrono::seconds kLockTimeout{2};

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

QSettingsRegistryBackend::QSettingsRegistryBackend(RegistryDirectories directories)
    : m_directories(std::move(directories))
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

    QFile file(filePath);
    bool readable = !info.isDir() && file.open(QIODevice::ReadOnly);
    if (readable) {
        snapshot.text = file.readAll();
        readable = file.error() == QFileDevice::NoError;
    }
    std::optional<IniEntries> entries;
    if (readable) {
        bool scratchFailed = false;
        entries = m_codec.parse(snapshot.text, &scratchFailed);
        // Unparsed for want of scratch space is not damaged: never replace it.
        readable = !scratchFailed;
    }

    if (entries) {
        snapshot.state = FileState::Ok;
        snapshot.entries = std::move(*entries);
        m_reportedFiles.remove(filePath);
        return snapshot;
    }
    snapshot.state = readable ? FileState::Damaged : FileState::Unreadable;
    if (!m_reportedFiles.contains(filePath)) {
        m_reportedFiles.insert(filePath);
        qWarning("Settings file %ls is %s; its settings take their defaults until they are saved",
                 qUtf16Printable(QDir::toNativeSeparators(filePath)),
                 readable ? "damaged" : "unreadable");
    }
    return snapshot;
}

bool QSettingsRegistryBackend::replaceFile(const QString &filePath, const QByteArray &text)
{
    QSaveFile file(filePath);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit();
}

bool QSettingsRegistryBackend::modifyFile(const QString &filePath,
                                          const std::function<bool(IniEntries &)> &change)
{
    const QFileInfo info(filePath);
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    const FileLock lock(LockFilePath(filePath), kLockTimeout);
    if (!lock.isLocked())
        return false;

    Snapshot snapshot = readFile(filePath);
    if (snapshot.state == FileState::Unreadable)
        return false;
    if (!change(snapshot.entries))
        return false;
    const std::optional<QByteArray> text = m_codec.serialize(snapshot.entries);
    if (!text)
        return false;
    if (snapshot.state == FileState::Damaged &&
        !replaceFile(filePath + u".damaged"_qs, snapshot.text)) {
        return false;
    }
    return replaceFile(filePath, *text);
}

bool QSettingsRegistryBackend::keyExists(RegistryRoot root, const QString &path) const
{
    const std::optional<ConfKeyLocation> location = LocateRegistryKey(path);
    if (!location)
        return false;
    const QString target = targetPath(root, *location, false);
    if (target.isEmpty())
        return false;
    if (location->level != Level::File)
        return QFileInfo(target).isDir();
    const Snapshot snapshot = readFile(target);
    switch (snapshot.state) {
    case FileState::Missing:
    case FileState::Unreadable:
        return false;
    case FileState::Damaged:
        return location->group.isEmpty();
    case FileState::Ok:
        return GroupExists(snapshot.entries, location->group);
    }
    return false;
}

std::optional<QStringList> QSettingsRegistryBackend::subKeyNames(RegistryRoot root,
                                                                 const QString &path) const
{
    if (!keyExists(root, path))
        return std::nullopt;
    const ConfKeyLocation location = *LocateRegistryKey(path);
    const QString target = targetPath(root, location, false);
    switch (location.level) {
    case Level::Software:
        return DirectoryEntries(target, QDir::Dirs, {});
    case Level::Organization: {
        QStringList names = DirectoryEntries(target, QDir::Files, {u"*.conf"_qs});
        for (QString &name : names)
            name.chop(5);
        return names;
    }
    case Level::File:
        break;
    }

    QStringList names;
    const Snapshot snapshot = readFile(target);
    for (auto it = snapshot.entries.cbegin(); it != snapshot.entries.cend(); ++it) {
        const QString below = BelowGroup(it.key(), location.group);
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
    if (!keyExists(root, path))
        return std::nullopt;
    const ConfKeyLocation location = *LocateRegistryKey(path);
    QList<RegistryValue> result;
    if (location.level != Level::File)
        return result;

    const Snapshot snapshot = readFile(targetPath(root, location, false));
    for (auto it = snapshot.entries.cbegin(); it != snapshot.entries.cend(); ++it) {
        QString name = BelowGroup(it.key(), location.group);
        if (name.isEmpty() || name.contains(u'/'))
            continue;
        if (name == u"@")
            name.clear();
        result.append({name, RegistryData(it.value())});
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
    return RegistryData(it.value());
}

bool QSettingsRegistryBackend::setStringValues(RegistryRoot root, const QString &path,
                                               const RegistryStringValues &values)
{
    const std::optional<ConfKeyLocation> location = LocateRegistryKey(path);
    if (!location || location->level != Level::File)
        return false;
    QList<std::pair<QString, QString>> keyed;
    for (const auto &[name, text] : values) {
        const std::optional<QString> key = ConfValueKey(location->group, name);
        if (!key)
            return false;
        keyed.append({*key, text});
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
        const FileLock lock(LockFilePath(target), kLockTimeout);
        return lock.isLocked() && QFile::remove(target);
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
