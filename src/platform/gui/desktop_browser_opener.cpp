#include "platform/gui/desktop_browser_opener.h"

#include <QDesktopServices>
#include <QUrl>

namespace voltwise {

bool DesktopBrowserOpener::Open(const QString &url)
{
    return QDesktopServices::openUrl(QUrl(url, QUrl::TolerantMode));
}

} // namespace voltwise
