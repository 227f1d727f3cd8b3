#include "platform/translations.h"

#include "platform/data_files.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QTranslator>

namespace voltwise {

namespace {

Q_LOGGING_CATEGORY(lcTranslations, "voltwise.translations", QtInfoMsg)

const QString kPrefix = u"voltwise_"_qs;

// "es-US" → es_US, es.
QStringList shorterForms(QString language)
{
    language.replace(u'-', u'_');
    QStringList forms;
    for (; !language.isEmpty(); language.truncate(qMax(0, language.lastIndexOf(u'_'))))
        forms << language;
    return forms;
}

bool isEnglish(const QString &language)
{
    return language == u"en" || language.startsWith(u"en_") || language.startsWith(u"en-");
}

bool installFile(const QString &path)
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(path) && QCoreApplication::installTranslator(translator))
        return true;
    delete translator;
    return false;
}

} // namespace

QString TranslationFile(const QStringList &uiLanguages, const QString &programFolder,
                        const QStringList &xdgDataDirs)
{
    for (const QString &language : uiLanguages) {
        if (isEnglish(language))
            return {};
        for (const QString &form : shorterForms(language)) {
            const QString path = DataFilePath(u"translations/"_qs + kPrefix + form + u".qm"_qs,
                                              programFolder, xdgDataDirs);
            if (QFileInfo(path).isFile())
                return path;
        }
    }
    return {};
}

bool InstallTranslations(const QLocale &locale)
{
    const QString file =
        TranslationFile(locale.uiLanguages(), QCoreApplication::applicationDirPath(),
                        QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation));
    if (file.isEmpty())
        return false;
    if (!installFile(file)) {
        qCWarning(lcTranslations, "%s: not a translation", qUtf8Printable(file));
        return false;
    }
    qCDebug(lcTranslations, "%s", qUtf8Printable(file));
    // Qt's dialogs and standard buttons in the same language, where installed.
    const QString language = QFileInfo(file).completeBaseName().mid(kPrefix.size());
    const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const QString &form : shorterForms(language))
        if (const QString qt = qtFolder + u"/qtbase_"_qs + form + u".qm"_qs;
            QFileInfo(qt).isFile() && installFile(qt))
            break;
    return true;
}

} // namespace voltwise
