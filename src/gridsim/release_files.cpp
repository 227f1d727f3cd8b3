#include "gridsim/release_files.h"

namespace voltwise::gridsim {

namespace {

QUrl On(const QUrl &base, QStringView path)
{
    QUrl url = base;
    url.setPath(path.toString());
    return url;
}

} // namespace

QByteArray WriteUpdateDescriptor(const QString &releaseVersion, QDate releaseDate, const QUrl &base)
{
    return releaseVersion.toUtf8() + "\r\n" + releaseDate.toString(Qt::ISODate).toLatin1() +
           "\r\n" + On(base, kDownloadPagePath).toEncoded() + "\r\n" +
           On(base, kChangeLogPath).toEncoded() + "\r\n";
}

QByteArray WriteChangeLog(const QString &releaseVersion)
{
    return "Voltwise " + releaseVersion.toUtf8() +
           "\r\n\r\n- Simulated release for tests and demonstrations.\r\n"
           "- The grid's condition is read as before.\r\n";
}

QByteArray WriteDownloadPage(const QString &releaseVersion)
{
    return "<html><head><title>Voltwise " + releaseVersion.toHtmlEscaped().toUtf8() +
           "</title></head><body><p>Voltwise " + releaseVersion.toHtmlEscaped().toUtf8() +
           " is a simulated release: there is nothing to download.</p></body></html>\n";
}

bool IsServableReleaseVersion(QStringView version)
{
    return !version.isEmpty() && version.size() <= 32 && !version.contains(u'\r') &&
           !version.contains(u'\n');
}

} // namespace voltwise::gridsim
