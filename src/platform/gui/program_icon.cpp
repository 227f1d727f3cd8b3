#include "platform/gui/program_icon.h"

#include "platform/data_files.h"
#include "status/gui/condition_images.h"

namespace voltwise {

QIcon ProgramIcon()
{
    QIcon icon;
    for (const int size : kProgramIconSizes) {
        const QString path = SharedDataFilePath(
            u"icons/hicolor/%1x%1/apps/%2.png"_qs.arg(size).arg(kProgramIconName));
        if (!path.isEmpty())
            icon.addFile(path, QSize(size, size));
    }
    return icon.isNull() ? ConditionIcon(kProgramImageIndex) : icon;
}

} // namespace voltwise
