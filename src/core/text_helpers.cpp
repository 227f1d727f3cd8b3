#include "core/text_helpers.h"

namespace voltwise {

namespace {
bool isTagBoundaryOrBlank(QChar c)
{
    return c == u'<' || c == u'>' || c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

bool isLineBreak(QChar c)
{
    return c == u'\r' || c == u'\n';
}
} // namespace

QString StripTags(QStringView text)
{
    QString out;
    out.reserve(text.size());
    bool inTag = false;
    bool accepting = true;
    for (const QChar c : text) {
        if (c == u'<') {
            inTag = true;
            accepting = false;
        }
        if (inTag) {
            if (c != u'>')
                continue;
            inTag = false;
        }
        if (!accepting)
            accepting = !isTagBoundaryOrBlank(c);
        if (accepting)
            out.append(c);
    }
    return out;
}

QString TrimLineBreaks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    while (begin < end && isLineBreak(text[begin]))
        ++begin;
    while (end > begin && isLineBreak(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin).toString();
}

QString CutAtNul(QStringView text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return (nul < 0 ? text : text.first(nul)).toString();
}

QString WithoutDirectionControls(QString text)
{
    text.removeIf([](QChar c) {
        const char16_t u = c.unicode();
        return (u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069);
    });
    return text;
}

} // namespace voltwise
