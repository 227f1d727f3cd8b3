#include "feeds/feed_body.h"

#include <QByteArray>

#include <algorithm>

namespace voltwise {

bool IsHtmlBody(QByteArrayView body, QByteArrayView contentType)
{
    if (contentType.trimmed().toByteArray().toLower().startsWith("text/html"))
        return true;
    QByteArrayView start = body;
    if (start.startsWith("\xEF\xBB\xBF"))
        start = start.sliced(3);
    start = start.trimmed();
    const QByteArray head =
        start.first(std::min<qsizetype>(start.size(), 16)).toByteArray().toLower();
    return head.startsWith("<!doctype html") || head.startsWith("<html") ||
           head.startsWith("<head") || head.startsWith("<body");
}

} // namespace voltwise
