#include "ui/window_placement_rules.h"

#include "core/conversions.h"
#include "settings/settings_conversions.h"

#include <QList>

#include <algorithm>
#include <cmath>
#include <limits>

namespace voltwise {

namespace {

// The largest size a widget takes, in twips.
constexpr double kMaxTwips = 16777215.0 * kTwipsPerPixel;
constexpr double kCentred = -1; // a stored position meaning "centre it"

double Bounded(double twips)
{
    return std::clamp(twips, -kMaxTwips, kMaxTwips);
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
    return plain.toString(value, 'g', 7);
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
    if (window.state == WindowShowState::Normal) {
        bounds = window.bounds;
    } else if (const std::optional<StoredPlacement> previous =
                   ParseStoredPlacement(stored, locale)) {
        bounds = {previous->left.value_or(0), previous->top.value_or(0),
                  previous->width.value_or(0), previous->height.value_or(0)};
    }
    return PlacementNumber(bounds.left, locale) + u',' + PlacementNumber(bounds.top, locale) +
           u',' + PlacementNumber(bounds.width, locale) + u',' +
           PlacementNumber(bounds.height, locale) + u',' +
           QString::number(static_cast<int>(window.state));
}

PlacementToApply PlacementToRestore(QStringView stored, const PlacementWindow &window,
                                    TwipsSize screen, int defaultStateCode, const QLocale &locale)
{
    const std::optional<StoredPlacement> parsed = ParseStoredPlacement(stored, locale);
    const StoredPlacement fields = parsed.value_or(StoredPlacement());

    PlacementToApply result;
    result.state =
        WindowShowStateFromCode(parsed ? fields.stateCode.value_or(0) : defaultStateCode);
    result.width = SizeOr(fields.width, window.bounds.width);
    result.height = SizeOr(fields.height, window.bounds.height);

    double left = fields.left.value_or(kCentred);
    double top = fields.top.value_or(kCentred);
    if (left >= screen.width)
        left = screen.width - result.width;
    if (top >= screen.height)
        top = screen.height - result.height;
    // Centring uses the window's own size, whatever size it is given.
    if (left == kCentred)
        left = screen.width / 2 - window.bounds.width / 2;
    if (top == kCentred)
        top = screen.height / 2 - window.bounds.height / 2;
    result.left = Bounded(left);
    result.top = Bounded(top);
    result.width = Bounded(result.width);
    result.height = Bounded(result.height);

    if (!window.manualStartUpPosition) {
        result.resize = true;
    } else {
        result.move = true;
        result.resize = window.mdiParent || window.sizableBorder;
    }
    return result;
}

} // namespace voltwise
