// StripTags, TrimLineBreaks and CutAtNul on any text.
#include "core/text_helpers.h"
#include "fuzz_support.h"

using namespace voltwise;

namespace {

bool IsLineBreak(QChar c)
{
    return c == u'\r' || c == u'\n';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = fuzz::Text(data, size);

    const QString stripped = StripTags(text);
    fuzz::Check(!stripped.contains(u'<'), "no tag survives");
    fuzz::Check(stripped.size() <= text.size(), "stripping never adds");
    fuzz::Check(StripTags(stripped).size() <= stripped.size(), "stripping twice is no longer");

    const QString trimmed = TrimLineBreaks(text);
    fuzz::Check(trimmed.size() <= text.size(), "trimming never adds");
    fuzz::Check(trimmed.isEmpty() ||
                    (!IsLineBreak(trimmed.front()) && !IsLineBreak(trimmed.back())),
                "no line break at either end");

    const QString cut = CutAtNul(text);
    fuzz::Check(text.startsWith(cut) && !cut.contains(QChar(u'\0')), "the text before any NUL");
    return 0;
}
