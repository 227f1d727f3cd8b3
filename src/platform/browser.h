#pragma once

#include <QString>

namespace voltwise {

// The URL with "http://" in front unless it already begins with "http" in
// any letter case (which also covers "https").
QString WithHttpPrefix(QString url);

// Hands a URL to the user's browser.
class BrowserOpener
{
public:
    virtual ~BrowserOpener() = default;
    // True when the desktop accepted the request.
    virtual bool Open(const QString &url) = 0;
};

// Gives `url` its "http://" prefix where it lacks one (the caller's text
// changes) and opens it. Only a well-formed http or https address with a
// host reaches the opener; anything else is refused with false.
bool OpenInBrowser(QString &url, BrowserOpener &opener);

// Opens nothing: where no desktop is given, a link still shows but leads nowhere.
BrowserOpener &NoBrowser();

} // namespace voltwise
