#include "settings/ini_codec.h"

#include "settings/ini_value.h"

#include <QList>

#include <utility>

namespace voltwise {

namespace {

bool IsLineSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

struct IniLine
{
    QByteArrayView text;
    qsizetype equals = -1;  // the first "=" outside quotes, within text
    bool openQuote = false; // the data ended inside quotes
};

// The next logical line from pos: blank lines and comment lines are skipped;
// quotes and a backslash before a line end carry the line on, and a ";"
// outside quotes ends it. False at the end of the data.
bool NextLine(QByteArrayView data, qsizetype &pos, IniLine &line)
{
    qsizetype start = pos;
    while (start < data.size() && IsLineSpace(data[start]))
        ++start;
    qsizetype equals = -1;
    bool inQuotes = false;
    qsizetype end = -1;
    qsizetype continued = -1; // the first of the last run of escaped line ends
    qsizetype continuedEnd = -1;
    qsizetype i = start;
    while (i < data.size()) {
        const char c = data[i++];
        if (c == '=') {
            if (!inQuotes && equals < 0)
                equals = i - 1;
        } else if (c == '"') {
            inQuotes = !inQuotes;
        } else if (c == '\\') {
            if (i == data.size()) {
                // The last byte has nothing to escape: dropped, as QSettings
                // drops it, since written back before a line end it would
                // carry the next line on.
                end = i - 1;
                break;
            }
            const qsizetype backslash = i - 1;
            const char escaped = data[i++];
            if (i < data.size() &&
                ((escaped == '\n' && data[i] == '\r') || (escaped == '\r' && data[i] == '\n'))) {
                ++i;
            }
            if (escaped == '\n' || escaped == '\r') {
                if (backslash != continuedEnd)
                    continued = backslash;
                continuedEnd = i;
            }
        } else if ((c == '\n' || c == '\r') && !inQuotes) {
            --i;
            break;
        } else if (c == ';' && i == start + 1) {
            while (i < data.size() && data[i] != '\n' && data[i] != '\r')
                ++i;
            while (i < data.size() && IsLineSpace(data[i]))
                ++i;
            start = i;
        } else if (c == ';' && !inQuotes) {
            --i;
            break;
        }
    }
    pos = i;
    if (end < 0)
        end = i;
    // A line end escaped last adds nothing to the value; written back before
    // a "\n", an escaped "\r" would pair with it and carry the next line on.
    if (end == continuedEnd)
        end = continued;
    line = {data.sliced(start, end - start), equals < 0 ? -1 : equals - start, inQuotes};
    return !line.text.isEmpty();
}

// "%XX" and "%UXXXX" stand for one character, "\" for "/".
QString UnescapeKey(QByteArrayView escaped)
{
    const QString text = QString::fromUtf8(escaped);
    QString key;
    key.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text[i];
        if (c == u'\\') {
            key += u'/';
            ++i;
            continue;
        }
        const bool wide = c == u'%' && i + 1 < text.size() && text[i + 1] == u'U';
        const qsizetype first = i + (wide ? 2 : 1);
        const qsizetype digits = wide ? 4 : 2;
        char16_t code = 0;
        bool isCode = c == u'%' && first + digits <= text.size();
        for (qsizetype d = 0; isCode && d < digits; ++d) {
            const int digit = HexDigit(text[first + d].unicode());
            isCode = digit >= 0;
            code = char16_t(code * 16 + digit);
        }
        if (isCode) {
            key += QChar(code);
            i = first + digits;
        } else {
            key += c;
            ++i;
        }
    }
    return key;
}

QByteArray EscapeKey(QStringView key)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    QByteArray escaped;
    for (qsizetype i = 0; i < key.size(); ++i) {
        const char16_t c = key[i].unicode();
        // A backslash ending the name would escape the "=" after it: "%2F" then.
        if (c == '/' && i + 1 < key.size()) {
            escaped += '\\';
        } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                   c == '_' || c == '-' || c == '.') {
            escaped += char(c);
        } else if (c <= 0xFF) {
            escaped += '%';
            escaped += kHex[c >> 4];
            escaped += kHex[c & 0xF];
        } else {
            escaped += "%U";
            for (int shift = 12; shift >= 0; shift -= 4)
                escaped += kHex[(c >> shift) & 0xF];
        }
    }
    return escaped;
}

// The key prefix of a section header's name: "" for [General].
QString SectionPrefix(QByteArrayView name)
{
    if (name.compare("general", Qt::CaseInsensitive) == 0)
        return QString();
    if (name.compare("%general", Qt::CaseInsensitive) == 0)
        return QString::fromLatin1(name.sliced(1)) + u'/';
    return UnescapeKey(name) + u'/';
}

QByteArray SectionHeader(const QString &section)
{
    if (section.isEmpty())
        return "[General]\n";
    const QByteArray name = EscapeKey(section);
    // A section really named "General" must not read back as the top level.
    const bool general = name.compare("general", Qt::CaseInsensitive) == 0;
    return (general ? "[%" : "[") + name + "]\n";
}

} // namespace

std::optional<IniEntries> ParseIni(QByteArrayView text)
{
    if (text.startsWith("\xef\xbb\xbf"))
        text = text.sliced(3);
    IniEntries entries;
    QString prefix;
    bool wellFormed = true;
    qsizetype pos = 0;
    IniLine line;
    while (NextLine(text, pos, line)) {
        if (line.text.startsWith('[')) {
            qsizetype end = line.text.indexOf(']');
            if (end < 0) {
                wellFormed = false;
                end = line.text.size();
            }
            prefix = SectionPrefix(line.text.first(end).sliced(1).trimmed());
        } else if (line.equals >= 0) {
            QByteArray value = line.text.sliced(line.equals + 1).toByteArray();
            // Quotes left open by the end of the file are closed: the value
            // reads the same, and a rewrite, which puts other keys after it,
            // cannot carry them into it.
            if (line.openQuote)
                value += '"';
            entries.insert(prefix + UnescapeKey(line.text.first(line.equals).trimmed()), value);
        } else if (!line.text.startsWith(';')) {
            wellFormed = false;
        }
    }
    if (!wellFormed)
        return std::nullopt;
    return entries;
}

QByteArray SerializeIni(const IniEntries &entries)
{
    QMap<QString, QList<std::pair<QString, QByteArray>>> sections;
    for (auto it = entries.cbegin(); it != entries.cend(); ++it) {
        // A leading "/" stays in the key (a backslash in [General]): as an empty
        // section name it would be lost, and the key read back renamed.
        const qsizetype slash = it.key().indexOf(u'/', 1);
        sections[slash < 0 ? QString() : it.key().left(slash)].append(
            {it.key().mid(slash + 1), it.value()});
    }
    QByteArray text;
    for (auto it = sections.cbegin(); it != sections.cend(); ++it) {
        if (!text.isEmpty())
            text += '\n';
        text += SectionHeader(it.key());
        for (const auto &[key, value] : it.value())
            text += EscapeKey(key) + '=' + value + '\n';
    }
    return text;
}

} // namespace voltwise
