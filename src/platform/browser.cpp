#include "platform/browser.h"

#include <QUrl>

#include <utility>

namespace voltwise {

QString WithHttpPrefix(QString url)
{
    if (!url.startsWith(QLatin1String("http"), Qt::CaseInsensitive))
        url.prepend(QLatin1String("http://"));
    return url;
}

namespace {

// A text that merely starts with "http" ("httpx:", "http.exe") would
// otherwise reach another scheme's handler or a local program.
bool IsWebAddress(const QString &url)
{
    const QUrl parsed(url, QUrl::TolerantMode);
    const QString scheme = parsed.scheme().toLower();
    return parsed.isValid() &&
           (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !parsed.host().isEmpty();
}

} // namespace

bool OpenInBrowser(QString &url, BrowserOpener &opener)
{
    url = WithHttpPrefix(std::move(url));
    if (!IsWebAddress(url))
        return false;
    return opener.Open(url);
}

BrowserOpener &NoBrowser()
{
    class Nothing final : public BrowserOpener
    {
    public:
        bool Open(const QString &) override { return false; }
    };
    static Nothing nothing;
    return nothing;
}

} // namespace voltwise
