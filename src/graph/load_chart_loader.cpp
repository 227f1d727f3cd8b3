#include "graph/load_chart.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace voltwise {

NewLoadChart LoadChartModule()
{
    // Beside the program in the build tree; in the library folder once installed.
    static const NewLoadChart entry = [] {
        const QDir program(QCoreApplication::applicationDirPath());
        const QString file = QStringLiteral(VOLTWISE_CHART_MODULE_FILE);
        for (const QString &folder : {QString(), QStringLiteral(VOLTWISE_CHART_MODULE_INSTALLED)}) {
            QLibrary module(QDir::cleanPath(program.filePath(QDir(folder).filePath(file))));
            if (const auto found =
                    reinterpret_cast<NewLoadChart>(module.resolve("voltwise_new_load_chart")))
                return found;
        }
        return NewLoadChart(nullptr);
    }();
    return entry;
}

} // namespace voltwise
