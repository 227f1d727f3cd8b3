#include "gridsim/fault_bodies.h"

#include <QHash>

#include <array>

namespace voltwise::gridsim {

namespace {

quint32 Crc32(const QByteArray &bytes)
{
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : bytes)
        crc = table[(crc ^ quint8(byte)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void AppendLittleEndian(QByteArray &out, quint32 value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.append(char((value >> shift) & 0xFF));
}

} // namespace

QByteArray GzipBomb(qint64 bytes)
{
    // Building one takes a moment; tests ask for the same few sizes again.
    static QHash<qint64, QByteArray> made;
    if (const auto it = made.constFind(bytes); it != made.cend())
        return *it;
    const QByteArray zeros(bytes, '\0');
    // qCompress gives a 4-byte length, a 2-byte zlib header, the raw deflate
    // stream and a 4-byte Adler-32; gzip wants the raw stream in its own frame.
    const QByteArray zlib = qCompress(zeros, 9);
    QByteArray gzip("\x1f\x8b\x08\x00\x00\x00\x00\x00\x02\x03", 10);
    gzip += zlib.sliced(6, zlib.size() - 10);
    AppendLittleEndian(gzip, Crc32(zeros));
    AppendLittleEndian(gzip, quint32(bytes & 0xFFFFFFFF));
    made.insert(bytes, gzip);
    return gzip;
}

QByteArray NoiseBytes(qint64 bytes)
{
    QByteArray noise(bytes, Qt::Uninitialized);
    quint32 state = 0x2545F491u;
    for (char &byte : noise) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = char(state & 0xFF);
    }
    return noise;
}

QByteArray WithInvalidUtf8(QByteArray body)
{
    static const QByteArray invalid("\x80\xC0\xAF\xED\xA0\x80\xF4\x90\x80\x80\xFF\xE2\x82", 13);
    const qsizetype lineEnd = body.indexOf('\n');
    body.insert(lineEnd < 0 ? 0 : lineEnd + 1, invalid + '\n');
    return body + invalid;
}

} // namespace voltwise::gridsim
