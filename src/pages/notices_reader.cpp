#include "pages/notices_reader.h"

#include "core/text_helpers.h"
#include "pages/page_sections.h"

#include <optional>

namespace voltwise {

namespace {

std::optional<QString> statusTable(QStringView page)
{
    const qsizetype titleAt = page.indexOf(u"ISO System Status");
    if (titleAt < 0)
        return std::nullopt;
    const qsizetype tableAt = page.indexOf(u"<TABLE", titleAt);
    if (tableAt < 0)
        return std::nullopt;
    const qsizetype endAt = page.indexOf(u"</TABLE>", tableAt);
    if (endAt < 0)
        return std::nullopt;
    return WithoutDirectionControls(StripTags(page.sliced(tableAt, endAt - tableAt)));
}

} // namespace

NoticesTexts ReadNoticesPage(QStringView page, const NoticesTexts &previous)
{
    if (!IsReadablePage(page))
        return previous;

    NoticesTexts result = previous;
    if (auto table = statusTable(page))
        result.StatusTableText = std::move(*table);

    const QString active = WithoutDirectionControls(PreformattedSectionText(
        page, u"Current Active Notice(s)", u"No active notices are being issued at this time."));
    const QString pending = WithoutDirectionControls(PreformattedSectionText(
        page, u"Pending Notices", u"No pending notices are being issued at this time."));
    result.NoticesText = u"Current Active Notice(s): \r\n\r\n"_qs + active +
                         u"\r\n\r\nPending Notices: \r\n\r\n"_qs + pending;
    return result;
}

} // namespace voltwise
