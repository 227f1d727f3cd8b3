#include "ui/window_placement_rules.h"

#include "core/conversions.h"
#include "settings/settings_conversions.h"

#include <QList>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace voltwise {

namespace {

// X11 carries positions as signed and sizes as unsigned 16-bit pixels and
// wraps anything larger around, so no result may go beyond these.
constexpr double kLowestTwips = -32768.0 * kTwipsPerPixel;
constexpr double kHighestTwips = 32767.0 * kTwipsPerPixel;
constexpr double kCentred = -1; // a stored position meaning "centre it"

// The user takes hold of a window by the band along its top edge (the title
// bar): a piece of it this wide and this high must lie on a usable screen area.
constexpr double kTitleBand = 300;  // 20 pixels
constexpr double kGripWidth = 1500; // 100 pixels
constexpr double kGripHeight = 150; // 10 pixels

double Position(double twips)
{
    return std::clamp(twips, kLowestTwips, kHighestTwips);
}

double Extent(double twips)
{
    return std::clamp(twips, 0.0, kHighestTwips);
}

double Overlap(const PlacementBounds &a, const PlacementBounds &b)
{
    const double across = std::min(a.left + a.width, b.left + b.width) - std::max(a.left, b.left);
    const double down = std::min(a.top + a.height, b.top + b.height) - std::max(a.top, b.top);
    return across > 0 && down > 0 ? across * down : 0;
}

// Moves the window into the available area of the screen that holds most of
// it (the primary when none does); where it is larger, its top left stays in.
void FitIntoArea(PlacementBounds &window, const QList<PlacementScreen> &screens)
{
    const PlacementBounds *area = &screens.first().available;
    double most = 0;
    for (const PlacementScreen &screen : screens) {
        const double overlap = Overlap(window, screen.available);
        if (overlap > most) {
            most = overlap;
            area = &screen.available;
        }
    }
    window.left =
        std::max(std::min(window.left, area->left + area->width - window.width), area->left);
    window.top =
        std::max(std::min(window.top, area->top + area->height - window.height), area->top);
}

double Right(const PlacementBounds &bounds)
{
    return bounds.left + bounds.width;
}

double Bottom(const PlacementBounds &bounds)
{
    return bounds.top + bounds.height;
}

double Centred(double start, double extent, double size)
{
    return start + extent / 2 - size / 2;
}

// The right and bottom edges of all screens together.
std::pair<double, double> DesktopEdges(const QList<PlacementScreen> &screens)
{
    double right = 0;
    double bottom = 0;
    for (const PlacementScreen &screen : screens) {
        right = std::max(right, Right(screen.geometry));
        bottom = std::max(bottom, Bottom(screen.geometry));
    }
    return {right, bottom};
}

bool TitleWithinReach(const PlacementBounds &window, const QList<PlacementScreen> &screens)
{
    const double band = std::min(kTitleBand, window.height);
    return std::any_of(screens.begin(), screens.end(), [&](const PlacementScreen &screen) {
        const PlacementBounds &area = screen.available;
        const double across =
            std::min(Right(window), Right(area)) - std::max(window.left, area.left);
        const double down =
            std::min(window.top + band, Bottom(area)) - std::max(window.top, area.top);
        return across >= std::min(kGripWidth, window.width) && down >= std::min(kGripHeight, band);
    });
}

std::optional<double> SingleNumber(QStringView field, const QLocale &locale)
{
    const std::optional<double> number = TextToNumber(field, locale);
    if (!number || std::abs(*number) > std::numeric_limits<float>::max())
        return std::nullopt;
    return number;
}

std::optional<int> StateNumber(QStringView field, const QLocale &locale)
{
    const std::optional<qint32> number = TextToWholeNumber(field, locale);
    if (!number || *number < std::numeric_limits<qint16>::min() ||
        *number > std::numeric_limits<qint16>::max()) {
        return std::nullopt;
    }
    return *number;
}

QString PlacementNumber(double value, const QLocale &locale)
{
    QLocale plain = locale;
    plain.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    // A whole number keeps all its digits, as it was stored.
    if (std::abs(value) < 1e15 && value == std::trunc(value))
        return plain.toString(value, 'f', 0);
    const QString text = plain.toString(value, 'g', 7);
    // A decimal comma would split the field in two: such a number is
    // stored whole.
    return text.contains(u',') ? plain.toString(std::round(value), 'f', 0) : text;
}

// A size that is missing or not positive stands for the window's own size.
double SizeOr(const std::optional<double> &stored, double ownSize)
{
    return stored && *stored > 0 ? *stored : ownSize;
}

} // namespace

WindowShowState WindowShowStateFromCode(int code)
{
    switch (code) {
    case 1:
        return WindowShowState::Minimized;
    case 2:
        return WindowShowState::Maximized;
    default:
        return WindowShowState::Normal;
    }
}

std::optional<StoredPlacement> ParseStoredPlacement(QStringView text, const QLocale &locale)
{
    const QList<QStringView> fields = text.split(u',');
    if (fields.size() != 5)
        return std::nullopt;
    StoredPlacement stored;
    stored.left = SingleNumber(fields.at(0), locale);
    stored.top = SingleNumber(fields.at(1), locale);
    stored.width = SingleNumber(fields.at(2), locale);
    stored.height = SingleNumber(fields.at(3), locale);
    stored.stateCode = StateNumber(fields.at(4), locale);
    return stored;
}

QString PlacementTextToSave(QStringView stored, const PlacementWindow &window,
                            const QLocale &locale)
{
    PlacementBounds bounds;
    const std::optional<StoredPlacement> previous = ParseStoredPlacement(stored, locale);
    if (window.state == WindowShowState::Normal) {
        bounds = window.bounds;
        if (!window.positionKnown) {
            bounds.left = previous ? previous->left.value_or(kCentred) : kCentred;
            bounds.top = previous ? previous->top.value_or(kCentred) : kCentred;
        }
    } else if (previous) {
        bounds = {previous->left.value_or(0), previous->top.value_or(0),
                  previous->width.value_or(0), previous->height.value_or(0)};
    }
    return PlacementNumber(bounds.left, locale) + u',' + PlacementNumber(bounds.top, locale) +
           u',' + PlacementNumber(bounds.width, locale) + u',' +
           PlacementNumber(bounds.height, locale) + u',' +
           QString::number(static_cast<int>(window.state));
}

PlacementToApply PlacementToRestore(QStringView stored, const PlacementWindow &window,
                                    const QList<PlacementScreen> &screens, int defaultStateCode,
                                    const QLocale &locale)
{
    const std::optional<StoredPlacement> parsed = ParseStoredPlacement(stored, locale);
    const StoredPlacement fields = parsed.value_or(StoredPlacement());
    const PlacementScreen primary = screens.value(0);
    const auto [desktopRight, desktopBottom] = DesktopEdges(screens);

    PlacementToApply result;
    result.state =
        WindowShowStateFromCode(parsed ? fields.stateCode.value_or(0) : defaultStateCode);
    if (result.state == WindowShowState::Minimized)
        result.state = WindowShowState::Normal;
    result.width = Extent(SizeOr(fields.width, window.bounds.width));
    result.height = Extent(SizeOr(fields.height, window.bounds.height));

    double left = fields.left.value_or(kCentred);
    double top = fields.top.value_or(kCentred);
    if (left >= desktopRight)
        left = desktopRight - result.width;
    if (top >= desktopBottom)
        top = desktopBottom - result.height;
    // Centring uses the window's own size, whatever size it is given.
    if (left == kCentred)
        left = Centred(primary.geometry.left, primary.geometry.width, window.bounds.width);
    if (top == kCentred)
        top = Centred(primary.geometry.top, primary.geometry.height, window.bounds.height);
    result.left = Position(left);
    result.top = Position(top);

    if (!window.manualStartUpPosition) {
        result.resize = true;
        return result;
    }
    result.move = true;
    result.resize = window.mdiParent || window.sizableBorder;

    const PlacementBounds placed{result.left, result.top,
                                 result.resize ? result.width : window.bounds.width,
                                 result.resize ? result.height : window.bounds.height};
    if (!screens.isEmpty() && !TitleWithinReach(placed, screens)) {
        // Centred, but never with the title above or left of the usable area.
        const PlacementBounds &usable = primary.available;
        result.left = Position(std::max(
            Centred(primary.geometry.left, primary.geometry.width, placed.width), usable.left));
        result.top = Position(std::max(
            Centred(primary.geometry.top, primary.geometry.height, placed.height), usable.top));
    }
    if (!screens.isEmpty()) {
        PlacementBounds framed{result.left, result.top, placed.width + window.frameWidth,
                               placed.height + window.frameHeight};
        FitIntoArea(framed, screens);
        result.left = Position(framed.left);
        result.top = Position(framed.top);
    }
    return result;
}

} // namespace voltwise
