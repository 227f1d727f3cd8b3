#include "platform/data_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace voltwise {

QString DataFilePath(const QString &name, const QString &programFolder)
{
    const QDir program(programFolder);
    const QString beside = QDir::cleanPath(program.filePath(name));
    if (QFileInfo::exists(beside))
        return beside;
    const QString installed = QDir::cleanPath(program.filePath(u"../share/voltwise/"_qs + name));
    if (QFileInfo::exists(installed))
        return installed;
    return beside;
}

QString DataFilePath(const QString &name)
{
    return DataFilePath(name, QCoreApplication::applicationDirPath());
}

} // namespace voltwise
