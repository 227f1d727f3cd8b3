#pragma once

#include "platform/browser.h"

#include <QStringList>

namespace voltwise {

// Remembers every URL it is asked to open instead of starting a browser.
class RecordingBrowserOpener final : public BrowserOpener
{
public:
    bool Open(const QString &url) override
    {
        opened << url;
        return accepts;
    }

    QStringList opened;
    bool accepts = true;
};

} // namespace voltwise
