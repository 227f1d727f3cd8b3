#include "ui/about_text.h"

#include "core/copyright.h"
#include "update/version.h"

namespace voltwise {

QString AboutCaption()
{
    return u"About Voltwise..."_qs;
}

QString AboutText()
{
    return u"Voltwise version "_qs + VersionString() + u"\r\n"_qs + kCopyrightNotice.toString();
}

} // namespace voltwise
