// Two version texts, one per line, compared both ways.
#include "fuzz_support.h"
#include "update/version.h"

using namespace voltwise;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = fuzz::Text(data, size);
    const qsizetype newline = text.indexOf(u'\n');
    const QStringView all(text);
    const QStringView candidate = newline < 0 ? all : all.first(newline);
    const QStringView reference = newline < 0 ? QStringView(u"2.0.10") : all.sliced(newline + 1);
    for (const bool finalOnly : {false, true}) {
        IsNewerVersion(candidate, reference, finalOnly);
        IsNewerVersion(reference, candidate, finalOnly);
        fuzz::Check(!IsNewerVersion(candidate, candidate, finalOnly).value_or(false),
                    "a version is never newer than itself");
    }
    return 0;
}
