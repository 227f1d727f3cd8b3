#pragma once

#include "core/twips.h"

#include <QRect>
#include <QString>

#include <chrono>

namespace voltwise {

// The designed places of the notice's controls, in twips.
namespace notice_design {
inline constexpr int kWindowWidth = 3270;
inline constexpr int kWindowHeight = 2700;
inline constexpr int kLabelLeft = 240;
inline constexpr int kLabelWidth = 2790;
inline constexpr int kLineHeight = 195;
inline constexpr int kHeaderTop = 285;
inline constexpr int kTextTop = 585;
inline constexpr int kHeaderToTextGap = 205;
inline constexpr int kClickLeft = 1200;
inline constexpr int kClickTop = 2220;
inline constexpr int kClickWidth = 855;
inline constexpr int kBottomMargin = 240;
} // namespace notice_design

// Heights the labels need for their texts, in twips.
struct NoticeMeasures
{
    int headerHeight = notice_design::kLineHeight;
    int textHeight = notice_design::kLineHeight;
    int clickHeight = notice_design::kLineHeight;
};

// Where the text and the link line go, in twips. The window is as tall as
// with a visible link even when the link is hidden.
struct NoticeLayout
{
    int textTop = 0;
    int clickTop = 0;
    int targetHeight = 0;
    bool clickVisible = false;
};

NoticeLayout LayOutNotice(const NoticeMeasures &measures, bool hasClickText);

// The window's rectangle when `height` pixels of it show: its right edge on
// the right edge of the available area and its bottom edge on its bottom edge.
QRect NoticeRect(const QRect &available, int width, int height);

// How long a full slide up or down takes.
inline constexpr std::chrono::milliseconds kNoticeSlideDuration{250};

enum class SlideDirection
{
    Up,
    Down
};

// The visible height `elapsed` into a slide of `duration`, from 0 to
// targetHeight going up and back to 0 going down.
int SlideHeight(std::chrono::milliseconds elapsed, std::chrono::milliseconds duration,
                int targetHeight, SlideDirection direction);

// A hold of zero (or less) never ends: the notice stays up.
// A notice shows a status table, not a page: text beyond this many
// characters is cut, with an ellipsis, so that a hostile page can neither
// stall the layout nor make a window taller than any screen.
inline constexpr qsizetype kNoticeTextMaxLength = 2000;
QString CapNoticeText(const QString &text);

inline constexpr bool HoldEnds(int delayMs)
{
    return delayMs > 0;
}

// The parts of the notice the pointer can rest on.
enum class NoticeArea
{
    Background,
    Text,
    Heading,
    Link
};

enum class LinkLook
{
    Unchanged,
    Normal,
    Hot
};
enum class HoldChange
{
    Unchanged,
    Run,
    Stop
};

// What the pointer over an area does to the link line and the hold.
struct HoverEffect
{
    LinkLook look = LinkLook::Unchanged;
    HoldChange hold = HoldChange::Unchanged;
};

HoverEffect HoverEffectOf(NoticeArea area);

} // namespace voltwise
