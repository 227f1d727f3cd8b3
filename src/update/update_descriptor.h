#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringView>

#include <optional>

namespace voltwise {

// "/voltwise/voltwise.inf" on the maker's server names the latest release.
inline constexpr QStringView kUpdateDescriptorPath = u"/voltwise/voltwise.inf";

// The lines of the descriptor (CR LF between them).
struct UpdateDescriptor
{
    QString ReleaseVersion; // line 1, blanks trimmed
    QDate ReleaseDate;      // line 2
    QString DownloadURL;    // line 3, blanks trimmed, http or https
    // Line 4 as written (not trimmed); absent without a fourth line.
    std::optional<QString> ChangeLogURL;
};

// Whether a downloaded text stands for no descriptor: empty, or "Not Found",
// "404" or "403" anywhere in it.
bool IsMissingDescriptor(QStringView text);

// Line 2: an ISO date (2026-12-06), a date in the locale's short or long
// format, or the US numeric form (12/6/2026).
std::optional<QDate> ReleaseDateFromText(QStringView text, const QLocale &locale);

// Nothing when line 2 or 3 is missing, line 2 is no date, or line 3 is not
// an http or https address; lines after the fourth are ignored.
std::optional<UpdateDescriptor> ParseUpdateDescriptor(QStringView text, const QLocale &locale);

// Spaces removed at both ends, and nothing else.
QString TrimBlanks(QStringView text);

} // namespace voltwise
