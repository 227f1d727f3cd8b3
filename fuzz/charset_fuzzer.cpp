// A Content-Type value on the first line, the body after it.
#include "fuzz_support.h"

using namespace voltwise;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView input(data, qsizetype(size));
    const qsizetype newline = input.indexOf('\n');
    const QByteArrayView contentType = newline < 0 ? input : input.first(newline);
    const QByteArrayView body = newline < 0 ? QByteArrayView() : input.sliced(newline + 1);
    const QByteArray charset = CharsetOf(contentType);
    fuzz::Check(charset == charset.toLower(), "charsets are lower case");
    DecodeText(body, charset);
    fuzz::Check(DecodeText(body, "windows-1252").size() == body.size(), "one character a byte");
    // Without a replacement the body was valid UTF-8 (a leading BOM is dropped).
    const QString utf8 = DecodeText(body, "utf-8");
    const QByteArrayView bom("\xEF\xBB\xBF");
    if (!utf8.contains(QChar::ReplacementCharacter))
        fuzz::Check(utf8.toUtf8() == (body.startsWith(bom) ? body.sliced(3) : body),
                    "valid UTF-8 reads back byte for byte");
    return 0;
}
