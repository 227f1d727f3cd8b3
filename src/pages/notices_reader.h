#pragma once

#include <QString>
#include <QStringView>

namespace voltwise {

struct NoticesTexts
{
    // The Notices tab: the active and the pending notices under their headings.
    QString NoticesText;
    // The "ISO System Status" table without its tags; change alerting compares it.
    QString StatusTableText;

    friend bool operator==(const NoticesTexts &, const NoticesTexts &) = default;
};

// Reads the operator's status page. An unreadable page (see IsReadablePage)
// keeps both texts; otherwise NoticesText is rebuilt and StatusTableText is
// replaced only when the page holds the whole table.
NoticesTexts ReadNoticesPage(QStringView page, const NoticesTexts &previous);

} // namespace voltwise
