#include "gridsim/page_writers.h"

namespace voltwise::gridsim {

QByteArray ReasonPhrase(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 400:
        return "Bad Request";
    case 401:
        return "Unauthorized";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 408:
        return "Request Timeout";
    case 410:
        return "Gone";
    case 429:
        return "Too Many Requests";
    case 500:
        return "Internal Server Error";
    case 501:
        return "Not Implemented";
    case 502:
        return "Bad Gateway";
    case 503:
        return "Service Unavailable";
    case 504:
        return "Gateway Timeout";
    default:
        return "Unknown";
    }
}

QByteArray WriteErrorPage(int status, const QString &path)
{
    const QString title =
        QString::number(status) + u' ' + QString::fromLatin1(ReasonPhrase(status));
    const QString detail =
        status == 404
            ? u"The requested URL "_qs + path.toHtmlEscaped() + u" was not found on this server."_qs
            : u"The server could not complete the request for "_qs + path.toHtmlEscaped() + u'.';
    const QString page =
        u"<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML 2.0//EN\">\n"
        u"<html><head><title>"_qs +
        title + u"</title></head><body>\n<h1>"_qs + QString::fromLatin1(ReasonPhrase(status)) +
        u"</h1>\n<p>"_qs + detail +
        u"</p>\n<hr>\n<address>Apache/1.3.20 Server</address>\n</body></html>\n"_qs;
    return page.toLatin1();
}

} // namespace voltwise::gridsim
