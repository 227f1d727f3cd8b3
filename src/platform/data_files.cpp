#include "platform/data_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QStandardPaths>

namespace voltwise {

namespace {

Q_LOGGING_CATEGORY(lcFiles, "voltwise.files", QtInfoMsg)

QString existing(const QString &path)
{
    return QFileInfo(path).isFile() ? QDir::cleanPath(path) : QString();
}

QStringList systemDataDirs()
{
    return QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
}

// A missing chime is worth a warning; a missing icon is drawn instead.
QString logged(const QString &relativePath, const QString &found, QtMsgType missing)
{
    if (!found.isEmpty())
        qCDebug(lcFiles, "%s: %s", qUtf8Printable(relativePath), qUtf8Printable(found));
    else if (missing == QtWarningMsg)
        qCWarning(lcFiles, "%s: not found beside the program or in its data directories",
                  qUtf8Printable(relativePath));
    else
        qCDebug(lcFiles, "%s: not found", qUtf8Printable(relativePath));
    return found;
}

} // namespace

QString SharedDataFilePath(const QString &relativePath, const QString &programFolder,
                           const QStringList &xdgDataDirs)
{
    // The build works out where the data directory lies from the programs'.
    const QString prefixData =
        QDir(programFolder).filePath(QStringLiteral(VOLTWISE_BIN_TO_DATA_DIR) + u'/');
    if (QString found = existing(prefixData + relativePath); !found.isEmpty())
        return found;
    for (const QString &dir : xdgDataDirs)
        if (QString found = existing(dir + u'/' + relativePath); !found.isEmpty())
            return found;
    return {};
}

QString DataFilePath(const QString &name, const QString &programFolder,
                     const QStringList &xdgDataDirs)
{
    const QString beside = QDir::cleanPath(QDir(programFolder).filePath(name));
    if (QFileInfo(beside).isFile())
        return beside;
    const QString shared = SharedDataFilePath(u"voltwise/"_qs + name, programFolder, xdgDataDirs);
    return shared.isEmpty() ? beside : shared;
}

QString SharedDataFilePath(const QString &relativePath)
{
    return logged(
        relativePath,
        SharedDataFilePath(relativePath, QCoreApplication::applicationDirPath(), systemDataDirs()),
        QtDebugMsg);
}

QString DataFilePath(const QString &name)
{
    const QString path =
        DataFilePath(name, QCoreApplication::applicationDirPath(), systemDataDirs());
    logged(name, QFileInfo(path).isFile() ? path : QString(), QtWarningMsg);
    return path;
}

} // namespace voltwise
