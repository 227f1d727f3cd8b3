#include "pages/page_sections.h"

#include "core/text_helpers.h"

namespace voltwise {

bool IsReadablePage(QStringView page)
{
    return !page.isEmpty() && !page.contains(u"404 Not Found") && !page.contains(QChar(u'\0'));
}

QString CapShownText(const QString &text)
{
    if (text.size() <= kShownTextMaxLength)
        return text;
    return text.first(kShownTextMaxLength) +
           u"\r\n\r\n[The rest of this text is not shown: it is too long.]"_qs;
}

QString PreformattedSectionText(QStringView page, QStringView heading, QStringView noneSentence)
{
    constexpr QStringView open = u"<pre>";
    constexpr QStringView close = u"</pre>";
    const qsizetype headingAt = page.indexOf(heading);
    if (headingAt < 0)
        return noneSentence.toString();
    const qsizetype openAt = page.indexOf(open, headingAt);
    if (openAt < 0)
        return noneSentence.toString();
    const qsizetype bodyAt = openAt + open.size();
    const qsizetype closeAt = page.indexOf(close, bodyAt);
    if (closeAt < 0 || closeAt == bodyAt)
        return noneSentence.toString();
    return StripTags(page.sliced(bodyAt, closeAt - bodyAt));
}

} // namespace voltwise
