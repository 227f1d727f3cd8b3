// A stored window placement "left,top,width,height,state", restored on a few
// desktops and saved again.
#include "fuzz_support.h"
#include "ui/window_placement_rules.h"

using namespace voltwise;

namespace {

constexpr double kLowest = -32768.0 * kTwipsPerPixel;
constexpr double kHighest = 32767.0 * kTwipsPerPixel;

PlacementScreen Screen(double left, double top, double width, double height, double panel)
{
    return {{left, top, width, height}, {left, top, width, height - panel}};
}

bool Within(double value, double low, double high)
{
    return value >= low && value <= high;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString stored = fuzz::Text(data, size);
    const QList<QList<PlacementScreen>> desktops = {
        {},
        {Screen(0, 0, 28800, 16200, 600)},
        {Screen(0, 0, 28800, 16200, 600), Screen(-19200, -3000, 19200, 28800, 0)}};
    PlacementWindow sizable;
    sizable.bounds = {1500, 1500, 9000, 6000};
    PlacementWindow fixed = sizable;
    fixed.sizableBorder = false;
    PlacementWindow platformPlaced = sizable;
    platformPlaced.manualStartUpPosition = false;

    for (const QLocale &locale : {fuzz::Locales().at(0), fuzz::Locales().at(1)}) {
        for (const auto &screens : desktops) {
            for (const PlacementWindow &window : {sizable, fixed, platformPlaced}) {
                const PlacementToApply placed =
                    PlacementToRestore(stored, window, screens, 0, locale);
                fuzz::Check(Within(placed.left, kLowest, kHighest) &&
                                Within(placed.top, kLowest, kHighest) &&
                                Within(placed.width, 0, kHighest) &&
                                Within(placed.height, 0, kHighest),
                            "a placement window systems take");
                PlacementWindow minimised = window;
                minimised.state = WindowShowState::Minimized;
                const QString saved = PlacementTextToSave(stored, minimised, locale);
                fuzz::Check(ParseStoredPlacement(saved, locale).has_value(),
                            "the saved text reads back");
            }
        }
    }
    return 0;
}
