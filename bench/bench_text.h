#pragma once

#include <QString>
#include <QStringList>

namespace voltwise::bench {

// Repeats the pieces given in turn until the text is exactly size characters.
inline QString RepeatToSize(const QStringList &pieces, qsizetype size)
{
    QString text;
    text.reserve(size);
    for (qsizetype i = 0; text.size() < size; ++i)
        text += pieces[i % pieces.size()];
    text.truncate(size);
    return text;
}

} // namespace voltwise::bench
