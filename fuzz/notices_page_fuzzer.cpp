// The status page with its table and its two notice sections.
#include "fuzz_support.h"
#include "pages/notices_reader.h"

using namespace voltwise;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString page = fuzz::Text(data, size);
    const NoticesTexts previous{u"previous notices"_qs, u"previous table"_qs};
    const NoticesTexts read = ReadNoticesPage(page, previous);
    if (read.NoticesText != previous.NoticesText) {
        fuzz::Check(read.NoticesText.startsWith(u"Current Active Notice(s): \r\n\r\n"),
                    "a rebuilt notices text starts with its heading");
        fuzz::Check(read.NoticesText.contains(u"\r\n\r\nPending Notices: \r\n\r\n"),
                    "a rebuilt notices text has the pending heading");
    }
    fuzz::Check(!read.StatusTableText.contains(u'<'), "the table text has no tags");
    return 0;
}
