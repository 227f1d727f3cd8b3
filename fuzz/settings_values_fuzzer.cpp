// A value read back from the configuration file, as each kind of setting
// converts it.
#include "fuzz_support.h"
#include "settings/app_settings.h"
#include "settings/server_settings.h"
#include "settings/settings_conversions.h"

using namespace voltwise;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = fuzz::Text(data, size);
    for (const QLocale &locale : fuzz::Locales()) {
        TextToBoolean(text, locale);
        TextToWholeNumber(text, locale);
        fuzz::Check(UpdateIntervalFromText(text, locale) >= 1, "an interval of a minute or more");
    }
    if (const auto url = ServerUrlFromText(text)) {
        fuzz::Check(url->scheme() == u"http" || url->scheme() == u"https", "http or https");
        fuzz::Check(!url->host().isEmpty(), "a host");
        fuzz::Check(url->path().isEmpty() && !url->hasQuery() && !url->hasFragment() &&
                        url->userInfo().isEmpty(),
                    "nothing but scheme, host and port");
        fuzz::Check(ServerUrlFromText(url->toString()) == url, "the stored form reads back");
    }
    return 0;
}
