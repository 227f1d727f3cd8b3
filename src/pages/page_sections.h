#pragma once

#include <QString>
#include <QStringView>

namespace voltwise {

// A downloaded page is read only when it is not empty and nowhere holds the
// server's "404 Not Found" (exact letter case); otherwise the reader keeps
// what it had.
bool IsReadablePage(QStringView page);

// The text of the first "<pre>" section at or after the first occurrence of
// heading, with its tags removed. When the heading, "<pre>" or "</pre>" is
// missing, or nothing stands between "<pre>" and "</pre>", the text is
// noneSentence. Searches compare letter case exactly.
QString PreformattedSectionText(QStringView page, QStringView heading, QStringView noneSentence);

} // namespace voltwise
