// Numbers and dates as the readers and the settings convert them, and their
// display forms, in several locales.
#include "core/conversions.h"
#include "feeds/operator_dates.h"
#include "fuzz_support.h"

using namespace voltwise;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = fuzz::Text(data, size);
    ReadOperatorDate(text);
    for (const QLocale &locale : fuzz::Locales()) {
        if (const auto number = TextToNumber(text, locale)) {
            FormatWholeNumber(*number, locale);
            const auto back = TextToNumber(FormatPlainNumber(*number, locale), locale);
            fuzz::Check(back && *back == *number, "a plain number reads back as itself");
        }
        if (const auto date = TextToDate(text, locale)) {
            const QString shown = FormatGeneralDate(*date, locale);
            if (locale.language() == QLocale::English || locale.language() == QLocale::German) {
                const auto back = TextToDate(shown, locale);
                fuzz::Check(back && *back == *date, "a shown date reads back as itself");
            }
        }
    }
    return 0;
}
