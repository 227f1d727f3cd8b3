// The update descriptor from the maker's server, and the decision made of it.
#include "core/conversions.h"
#include "fuzz_support.h"
#include "update/software_update.h"
#include "update/update_descriptor.h"
#include "update/version.h"

#include <QUrl>

using namespace voltwise;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = fuzz::Text(data, size);
    if (IsMissingDescriptor(text))
        return 0;
    for (const QLocale &locale : {OperatorLocale(), fuzz::Locales().at(1)}) {
        const auto descriptor = ParseUpdateDescriptor(text, locale);
        if (!descriptor)
            continue;
        fuzz::Check(descriptor->ReleaseDate.isValid(), "a valid release date");
        const QString scheme = QUrl(descriptor->DownloadURL).scheme();
        fuzz::Check(scheme == u"http" || scheme == u"https", "an http or https download");
        for (const bool finalOnly : {false, true})
            DecideUpdate(descriptor->ReleaseVersion, descriptor->ChangeLogURL, VersionString(),
                         finalOnly);
        ReplaceUpdatePlaceholders(u"App.ProductName App.ReleaseVersion"_qs, VersionString(),
                                  descriptor->ReleaseVersion);
    }
    return 0;
}
