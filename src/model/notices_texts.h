#pragma once

#include <QString>

namespace voltwise {

struct NoticesTexts
{
    // The Notices tab: the active and the pending notices under their headings.
    QString NoticesText;
    // The "ISO System Status" table without its tags; change alerting compares it.
    QString StatusTableText;

    friend bool operator==(const NoticesTexts &, const NoticesTexts &) = default;
};

} // namespace voltwise
