#pragma once

#include "core/server_urls.h"

#include <QLocale>
#include <QString>
#include <QUrl>

#include <optional>

namespace voltwise {

// What the pop-up notice of a changed status shows.
struct ChangeNotice
{
    QString NoticeHeader;
    QString NoticeText;
    QString ClickText;
    QUrl ClickURL;
    int Delay = 0; // milliseconds
    bool PlaySound = false;

    friend bool operator==(const ChangeNotice &, const ChangeNotice &) = default;
};

// The operator's page that a notice of a changed status links to: the
// classic status page, or today's outlook page.
QUrl NoticeLinkPage(const ServerUrls &servers);

// Decides, once per refresh, whether the operator's status table changed
// since it was last announced.
class ChangeAlert
{
public:
    // The notice links to the operator's page for the feeds read.
    explicit ChangeAlert(const ServerUrls &servers);
    // Links to the classic status page on contentServer.
    explicit ChangeAlert(const QUrl &contentServer);

    // Remembers statusTableText when it announces it. While the level is
    // unknown a change is held back, to be announced once a level is known.
    std::optional<ChangeNotice> check(const QString &statusTableText, int level,
                                      const QString &statusText, double actualDemand,
                                      bool playSound, const QLocale &locale);

    const QString &LastAnnouncedStatus() const { return m_lastAnnouncedStatus; }

private:
    QUrl m_statusPage;
    QString m_lastAnnouncedStatus;
};

} // namespace voltwise
