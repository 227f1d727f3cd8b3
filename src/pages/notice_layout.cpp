#include "pages/notice_layout.h"

#include <algorithm>

namespace voltwise {

NoticeLayout LayOutNotice(const NoticeMeasures &measures, bool hasClickText)
{
    using namespace notice_design;
    NoticeLayout layout;
    layout.textTop = kHeaderTop + measures.headerHeight + kHeaderToTextGap;
    layout.clickTop = std::max(layout.textTop + measures.textHeight, kClickTop);
    layout.targetHeight = layout.clickTop + measures.clickHeight + kBottomMargin;
    layout.clickVisible = hasClickText;
    return layout;
}

QRect NoticeRect(const QRect &available, int width, int height)
{
    const int right = available.x() + available.width();
    const int bottom = available.y() + available.height();
    return QRect(right - width, bottom - height, width, height);
}

int SlideHeight(std::chrono::milliseconds elapsed, std::chrono::milliseconds duration,
                int targetHeight, SlideDirection direction)
{
    if (targetHeight <= 0)
        return 0;
    const qint64 total = duration.count();
    const qint64 done = std::clamp<qint64>(elapsed.count(), 0, std::max<qint64>(total, 0));
    const qint64 shown = total <= 0 ? targetHeight : targetHeight * done / total;
    return static_cast<int>(direction == SlideDirection::Up ? shown : targetHeight - shown);
}

HoverEffect HoverEffectOf(NoticeArea area)
{
    switch (area) {
    case NoticeArea::Background:
    case NoticeArea::Text:
        return {LinkLook::Normal, HoldChange::Run};
    case NoticeArea::Link:
        return {LinkLook::Hot, HoldChange::Stop};
    case NoticeArea::Heading:
        break;
    }
    return {};
}

QString CapNoticeText(const QString &text)
{
    if (text.size() <= kNoticeTextMaxLength)
        return text;
    qsizetype cut = kNoticeTextMaxLength;
    if (text.at(cut - 1).isHighSurrogate())
        --cut;
    return text.first(cut) + QChar(0x2026);
}

} // namespace voltwise
