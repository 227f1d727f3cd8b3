#include "graph/gui/load_chart.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#include <QLoggingCategory>

namespace voltwise {

namespace {

Q_LOGGING_CATEGORY(lcFiles, "voltwise.files", QtInfoMsg)

} // namespace

NewLoadChart LoadChartModule()
{
    // Beside the program in the build tree; in lib/voltwise once installed.
    static const NewLoadChart entry = [] {
        const QDir program(QCoreApplication::applicationDirPath());
        const QString file = QStringLiteral(VOLTWISE_CHART_MODULE_FILE);
        QString tried;
        for (const QString &folder : {QString(), QStringLiteral(VOLTWISE_BIN_TO_CHART_DIR)}) {
            QLibrary module(QDir::cleanPath(program.filePath(QDir(folder).filePath(file))));
            if (const auto found =
                    reinterpret_cast<NewLoadChart>(module.resolve("voltwise_new_load_chart"))) {
                qCDebug(lcFiles, "%s: %s", qUtf8Printable(file), qUtf8Printable(module.fileName()));
                return found;
            }
            tried += u"\n  "_qs + module.errorString();
        }
        qCWarning(lcFiles, "%s: not loaded:%s", qUtf8Printable(file), qUtf8Printable(tried));
        return NewLoadChart(nullptr);
    }();
    return entry;
}

} // namespace voltwise
