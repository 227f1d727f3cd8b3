#pragma once

#include "platform/browser.h"

namespace voltwise {

// Opens URLs with the desktop's default browser.
class DesktopBrowserOpener final : public BrowserOpener
{
public:
    bool Open(const QString &url) override;
};

} // namespace voltwise
