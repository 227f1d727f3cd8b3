#include "ui/about_text.h"

#include "core/copyright.h"
#include "update/version.h"

#include <QCoreApplication>

namespace voltwise {

QString AboutCaption()
{
    return QCoreApplication::translate("About", "About Voltwise...");
}

QString AboutText()
{
    return QCoreApplication::translate("About", "Voltwise version %1").arg(VersionString()) +
           u"\r\n"_qs + kCopyrightNotice.toString();
}

} // namespace voltwise
