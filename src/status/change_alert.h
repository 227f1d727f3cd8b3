#pragma once

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

// Decides, once per refresh, whether the operator's status table changed
// since it was last announced.
class ChangeAlert
{
public:
    // contentServer: the grid operator's content server, whose status page
    // the notice links to.
    explicit ChangeAlert(QUrl contentServer);

    // The page the notice links to, when it is not the classic status page.
    void setStatusPage(QUrl page) { m_statusPage = std::move(page); }

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
