#include "settings/ini_value.h"

#include <QDataStream>
#include <QIODevice>
#include <QStringDecoder>
#include <QStringList>

#include <optional>

namespace voltwise {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

int OctalDigit(char c)
{
    return c >= '0' && c <= '7' ? c - '0' : -1;
}

std::optional<char16_t> SingleEscape(char c)
{
    switch (c) {
    case 'a':
        return u'\a';
    case 'b':
        return u'\b';
    case 'f':
        return u'\f';
    case 'n':
        return u'\n';
    case 'r':
        return u'\r';
    case 't':
        return u'\t';
    case 'v':
        return u'\v';
    case '"':
    case '?':
    case '\'':
    case '\\':
        return char16_t(c);
    default:
        return std::nullopt;
    }
}

struct Items
{
    QStringList texts;
    bool isList = false; // an unquoted comma separated the texts
};

// Undoes the escapes and quotes. Blanks around an unquoted text are dropped,
// except those an escape put there.
Items Unescape(QByteArrayView in)
{
    Items out;
    QString text;
    QByteArray plain;   // bytes of the text not yet decoded from UTF-8
    qsizetype kept = 0; // trailing blanks are chopped down to here and no further
    bool inQuotes = false;
    bool quoted = false; // the text had quotes: all its blanks stay
    qsizetype i = 0;

    // QString::fromUtf8 would drop a U+FEFF that starts a run after an escape.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const auto decodePlain = [&] {
        text += utf8.decode(plain);
        plain.clear();
    };
    const auto keepAll = [&] {
        decodePlain();
        kept = text.size();
    };
    const auto add = [&](char16_t c) {
        decodePlain();
        text += QChar(c);
        kept = text.size();
    };
    const auto skipBlanks = [&] {
        while (i < in.size() && IsBlank(in[i]))
            ++i;
    };
    const auto finishText = [&] {
        decodePlain();
        while (!quoted && text.size() > kept && (text.back() == u' ' || text.back() == u'\t'))
            text.chop(1);
        out.texts.append(text);
        text.clear();
        quoted = false;
        kept = 0;
    };

    skipBlanks();
    while (i < in.size()) {
        const char c = in[i++];
        if (c == '"') {
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes) {
                skipBlanks();
                keepAll();
            }
        } else if (c == ',' && !inQuotes) {
            out.isList = true;
            finishText();
            skipBlanks();
        } else if (c != '\\') {
            plain += c;
        } else if (i == in.size()) {
            keepAll();
        } else if (const char e = in[i++]; SingleEscape(e)) {
            add(*SingleEscape(e));
        } else if (e == 'x' && i < in.size() && HexDigit(in[i]) >= 0) {
            char16_t code = 0;
            while (i < in.size() && HexDigit(in[i]) >= 0)
                code = char16_t(code * 16 + HexDigit(in[i++]));
            add(code);
        } else if (OctalDigit(e) >= 0) {
            char16_t code = char16_t(OctalDigit(e));
            while (i < in.size() && OctalDigit(in[i]) >= 0)
                code = char16_t(code * 8 + OctalDigit(in[i++]));
            add(code);
        } else {
            // A line continuation ("\r\n" and "\n\r" count as one line end) or
            // an unknown escape: nothing is added.
            if ((e == '\n' || e == '\r') && i < in.size() && (in[i] == '\n' || in[i] == '\r') &&
                in[i] != e) {
                ++i;
            }
            keepAll();
        }
    }
    finishText();
    return out;
}

// Qt reads a stored list by reserving room for the count the data gives
// first: a damaged value could have it allocate gigabytes. Only types whose
// reading takes no more memory than the data holds are decoded, and a list
// of texts when its count fits the data (each text takes at least 4 bytes).
// "@Variant" is written in the old stream form, "@DateTime" in the newer one,
// which numbers the later types differently and adds a byte before the data.
bool IsSafeVariant(QByteArrayView bytes, bool oldForm)
{
    if (bytes.size() < 4)
        return true; // nothing to read: an invalid variant
    const auto word = [&](qsizetype at) {
        return quint32(quint8(bytes[at])) << 24 | quint32(quint8(bytes[at + 1])) << 16 |
               quint32(quint8(bytes[at + 2])) << 8 | quint32(quint8(bytes[at + 3]));
    };
    quint32 type = word(0);
    if (oldForm && type >= 128)
        type -= 97;
    const qsizetype dataAt = oldForm ? 4 : 5;
    switch (type) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::QChar:
    case QMetaType::QString:
    case QMetaType::QByteArray:
    case QMetaType::QDate:
    case QMetaType::QTime:
    case QMetaType::QDateTime:
    case QMetaType::QUrl:
    case QMetaType::QRect:
    case QMetaType::QRectF:
    case QMetaType::QSize:
    case QMetaType::QSizeF:
    case QMetaType::QLine:
    case QMetaType::QLineF:
    case QMetaType::QPoint:
    case QMetaType::QPointF:
    case QMetaType::QUuid:
    case QMetaType::Long:
    case QMetaType::Short:
    case QMetaType::Char:
    case QMetaType::ULong:
    case QMetaType::UShort:
    case QMetaType::UChar:
    case QMetaType::Float:
    case QMetaType::SChar:
        return true;
    case QMetaType::QStringList:
        return bytes.size() < dataAt + 4 ||
               word(dataAt) <= quint32((bytes.size() - dataAt - 4) / 4);
    default:
        return false;
    }
}

QVariant TextData(const QString &text)
{
    if (!text.startsWith(u'@'))
        return text;
    if (text.endsWith(u')')) {
        if (text.startsWith(u"@ByteArray("))
            return QStringView(text).sliced(11).chopped(1).toLatin1();
        if (text.startsWith(u"@String("))
            return text.sliced(8).chopped(1);
        const bool dateTime = text.startsWith(u"@DateTime(");
        if (dateTime || text.startsWith(u"@Variant(")) {
            QByteArray bytes = QStringView(text).sliced(dateTime ? 10 : 9).toLatin1();
            if (!IsSafeVariant(bytes, !dateTime))
                return QVariant();
            QDataStream stream(&bytes, QIODevice::ReadOnly);
            stream.setVersion(dateTime ? QDataStream::Qt_5_6 : QDataStream::Qt_4_0);
            QVariant data;
            stream >> data;
            return data;
        }
        if (text == u"@Invalid()")
            return QVariant();
    }
    return text.startsWith(u"@@") ? text.sliced(1) : text;
}

QVariant ListData(const QStringList &texts)
{
    QStringList plain = texts;
    for (QString &text : plain) {
        if (!text.startsWith(u'@'))
            continue;
        if (!text.startsWith(u"@@")) {
            QVariantList data;
            for (const QString &item : texts)
                data.append(TextData(item));
            return data;
        }
        text.remove(0, 1);
    }
    return plain;
}

} // namespace

int HexDigit(char16_t c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

QVariant IniValueData(QByteArrayView value)
{
    const Items items = Unescape(value);
    return items.isList ? ListData(items.texts) : TextData(items.texts.first());
}

QByteArray IniTextValue(QStringView text)
{
    QByteArray out;
    bool needsQuotes = false;
    // A hexadecimal digit right after a numeric escape would be read as part
    // of it, so it is escaped too.
    bool afterNumericEscape = false;
    const auto numericEscape = [&](char16_t c) {
        out += "\\x" + QByteArray::number(c, 16);
        afterNumericEscape = true;
    };
    // Like QSettings: "@@" reads back as one "@" rather than a typed value,
    // and a text holding a NUL is wrapped in "@String(...)".
    const bool marked = text.contains(QChar(0));
    out += marked ? "@String(" : text.startsWith(u'@') ? "@" : "";

    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == ';' || c == ',' || c == '=')
            needsQuotes = true;
        if (afterNumericEscape && HexDigit(c) >= 0) {
            numericEscape(c);
            continue;
        }
        afterNumericEscape = false;
        switch (c) {
        case u'\0':
            out += "\\0";
            afterNumericEscape = true;
            break;
        case u'\a':
            out += "\\a";
            break;
        case u'\b':
            out += "\\b";
            break;
        case u'\f':
            out += "\\f";
            break;
        case u'\n':
            out += "\\n";
            break;
        case u'\r':
            out += "\\r";
            break;
        case u'\t':
            out += "\\t";
            break;
        case u'\v':
            out += "\\v";
            break;
        case u'"':
        case u'\\':
            out += '\\';
            out += char(c);
            break;
        default:
            if (c < 0x20) {
                numericEscape(c);
            } else if (c < 0x80) {
                out += char(c);
            } else {
                // A whole run at once, so that surrogate pairs stay together.
                qsizetype end = i + 1;
                while (end < text.size() && text[end].unicode() >= 0x80)
                    ++end;
                out += text.sliced(i, end - i).toUtf8();
                i = end - 1;
            }
        }
    }
    if (marked)
        out += ')';
    if (needsQuotes || out.startsWith(' ') || out.endsWith(' ')) {
        out.prepend('"');
        out.append('"');
    }
    return out;
}

} // namespace voltwise
