#pragma once

#include <QString>
#include <QStringView>

namespace voltwise {

// A downloaded page is read only when it is not empty and nowhere holds the
// server's "404 Not Found" (exact letter case), nor a NUL character (a
// binary body is no page); otherwise the reader keeps what it had.
bool IsReadablePage(QStringView page);

// The Notices and Forecasts tabs show at most this much of a text, so that a
// huge page cannot flood the window; a cut text ends with a line saying so.
// Change alerting still compares the whole table text.
inline constexpr qsizetype kShownTextMaxLength = 256 * 1024;
QString CapShownText(const QString &text);

// The text of the first "<pre>" section at or after the first occurrence of
// heading, with its tags removed. When the heading, "<pre>" or "</pre>" is
// missing, or nothing stands between "<pre>" and "</pre>", the text is
// noneSentence. Searches compare letter case exactly.
QString PreformattedSectionText(QStringView page, QStringView heading, QStringView noneSentence);

} // namespace voltwise
