#include "core/download/charset_decoding.h"

#include <QList>
#include <QStringDecoder>

#include <array>

namespace voltwise {

namespace {

// windows-1252 differs from Latin-1 only in 0x80..0x9F; its five unassigned
// codes keep their Latin-1 meaning.
constexpr std::array<char16_t, 32> kWindows1252High{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool IsWindows1252Family(QByteArrayView charset)
{
    static constexpr std::array<QByteArrayView, 14> kLabels{
        "iso-8859-1", "iso8859-1", "iso_8859-1",     "latin1", "latin-1",
        "l1",         "cp819",     "us-ascii",       "ascii",  "windows-1252",
        "cp1252",     "x-cp1252",  "ansi_x3.4-1968", "ibm819"};
    for (QByteArrayView label : kLabels) {
        if (charset == label)
            return true;
    }
    return false;
}

QString DecodeWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        *out++ = code >= 0x80 && code <= 0x9F ? QChar(kWindows1252High[code - 0x80])
                                              : QChar(char16_t(code));
    }
    return text;
}

} // namespace

QByteArray CharsetOf(QByteArrayView contentType)
{
    const QList<QByteArray> parts = contentType.toByteArray().split(';');
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QByteArray parameter = parts[i].trimmed();
        const qsizetype equals = parameter.indexOf('=');
        if (equals < 0 || parameter.left(equals).trimmed().toLower() != "charset")
            continue;
        QByteArray value = parameter.mid(equals + 1).trimmed();
        if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
            value = value.mid(1, value.size() - 2);
        return value.trimmed().toLower();
    }
    return {};
}

QString DecodeText(QByteArrayView bytes, QByteArrayView charset)
{
    if (IsWindows1252Family(charset))
        return DecodeWindows1252(bytes);
    // Stateless: a body cut inside a sequence ends in U+FFFD rather than
    // losing its last bytes to a decoder waiting for more.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    return utf8.decode(bytes);
}

} // namespace voltwise
