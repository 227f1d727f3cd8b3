#include "update/update_descriptor.h"

#include <QUrl>

namespace voltwise {

bool IsMissingDescriptor(QStringView text)
{
    return text.isEmpty() || text.contains(u"Not Found") || text.contains(u"404") ||
           text.contains(u"403");
}

std::optional<QDate> ReleaseDateFromText(QStringView text, const QLocale &locale)
{
    const QString line = text.toString();
    for (const QDate date :
         {QDate::fromString(line, Qt::ISODate), locale.toDate(line, QLocale::ShortFormat),
          locale.toDate(line, QLocale::LongFormat), QDate::fromString(line, u"M/d/yyyy")}) {
        if (date.isValid())
            return date;
    }
    return std::nullopt;
}

std::optional<UpdateDescriptor> ParseUpdateDescriptor(QStringView text, const QLocale &locale)
{
    // A lone LF is no line end: such a descriptor is all one line.
    const QList<QStringView> lines = text.split(u"\r\n");
    if (lines.size() < 3)
        return std::nullopt;
    UpdateDescriptor descriptor;
    descriptor.ReleaseVersion = TrimBlanks(lines[0]);
    const auto date = ReleaseDateFromText(TrimBlanks(lines[1]), locale);
    if (!date)
        return std::nullopt;
    descriptor.ReleaseDate = *date;
    descriptor.DownloadURL = TrimBlanks(lines[2]);
    // Only the scheme decides; the browser takes a blank in a path as it is.
    const QUrl download(descriptor.DownloadURL, QUrl::TolerantMode);
    const QString scheme = download.scheme().toLower();
    if (!download.isValid() || download.host().isEmpty() ||
        (scheme != u"http" && scheme != u"https"))
        return std::nullopt;
    if (lines.size() >= 4)
        descriptor.ChangeLogURL = lines[3].toString();
    return descriptor;
}

QString TrimBlanks(QStringView text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.sliced(begin, end - begin).toString();
}

} // namespace voltwise
