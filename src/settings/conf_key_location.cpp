#include "settings/conf_key_location.h"

#include <QStringList>

namespace voltwise {

namespace {

const QString kUnnamedValueKey = QStringLiteral("@");

bool IsSafeName(QStringView name)
{
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') &&
           !name.contains(u'\\') && !name.contains(QChar(0));
}

} // namespace

QString ConfKeyLocation::relativeFilePath() const
{
    return organization + u'/' + application + u".conf"_qs;
}

std::optional<ConfKeyLocation> LocateRegistryKey(QStringView path)
{
    const QList<QStringView> parts = path.split(u'\\', Qt::SkipEmptyParts);
    if (parts.isEmpty() || parts.first().compare(u"Software", Qt::CaseInsensitive) != 0)
        return std::nullopt;
    for (qsizetype i = 1; i < parts.size(); ++i) {
        if (!IsSafeName(parts.at(i)))
            return std::nullopt;
    }

    ConfKeyLocation location;
    if (parts.size() == 1)
        return location;
    location.level = ConfKeyLocation::Level::Organization;
    location.organization = parts.at(1).toString();
    if (parts.size() == 2)
        return location;
    location.level = ConfKeyLocation::Level::File;
    location.application = parts.at(2).toString();
    QStringList groups;
    for (qsizetype i = 3; i < parts.size(); ++i)
        groups.append(parts.at(i).toString());
    location.group = groups.join(u'/');
    return location;
}

std::optional<QString> ConfValueKey(const QString &group, const QString &valueName)
{
    QString key = valueName.isEmpty() ? kUnnamedValueKey : valueName;
    if (key.contains(u'/') || key.contains(u'\\'))
        return std::nullopt;
    return group.isEmpty() ? key : group + u'/' + key;
}

} // namespace voltwise
