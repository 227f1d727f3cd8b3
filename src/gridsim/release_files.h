#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringView>
#include <QUrl>

namespace voltwise::gridsim {

// The maker's release files, served beside the grid's so that one simulator
// stands for every server the program talks to.
inline constexpr QStringView kUpdateDescriptorFilePath = u"/voltwise/voltwise.inf";
inline constexpr QStringView kChangeLogPath = u"/voltwise/changes.txt";
inline constexpr QStringView kDownloadPagePath = u"/voltwise/download.html";

// Four CR LF lines: the release version, its date (ISO), the download page
// and the change log, both on base.
QByteArray WriteUpdateDescriptor(const QString &releaseVersion, QDate releaseDate,
                                 const QUrl &base);
QByteArray WriteChangeLog(const QString &releaseVersion);
QByteArray WriteDownloadPage(const QString &releaseVersion);

// A release version the descriptor can carry: one line, at most 32 characters.
bool IsServableReleaseVersion(QStringView version);

} // namespace voltwise::gridsim
