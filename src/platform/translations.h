#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

namespace voltwise {

// The program's translation for the user's interface languages, in their
// order ("es-US", "es", …): the first language that is English, or that has
// a file "voltwise_<language>.qm" (or one of its shorter forms: es_US, es)
// in translations/ among the data files, decides. Empty for English, or
// when no language has a translation: the program then shows its own texts.
QString TranslationFile(const QStringList &uiLanguages, const QString &programFolder,
                        const QStringList &xdgDataDirs);

// Installs the translation chosen for `locale`, and Qt's own one of the same
// language for its standard buttons when the system has it. False when the
// program stays in English.
bool InstallTranslations(const QLocale &locale);

} // namespace voltwise
