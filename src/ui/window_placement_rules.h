#pragma once

#include "core/twips.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringView>

#include <optional>

namespace voltwise {

// Stored placements are in twips (ui/twips.h).

enum class WindowShowState
{
    Normal = 0,
    Minimized = 1,
    Maximized = 2
};

// The state for a stored or requested code; codes other than 0, 1, 2 are Normal.
WindowShowState WindowShowStateFromCode(int code);

struct PlacementBounds // twips
{
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

// One screen of the desktop: all of it, and the part windows may use (without
// panels and docks).
struct PlacementScreen
{
    PlacementBounds geometry;
    PlacementBounds available;
};

// What the placement rules need to know of a window.
struct PlacementWindow
{
    PlacementBounds bounds; // in the normal state; width and height are its current size
    WindowShowState state = WindowShowState::Normal;
    bool manualStartUpPosition = true; // false lets the platform place the window
    bool mdiParent = false;
    bool sizableBorder = true;
    // False where the platform never tells a window where it is (Wayland):
    // its left and top are then whatever the toolkit made up.
    bool positionKnown = true;
    // What the window manager's frame adds to the size, where known yet.
    double frameWidth = 0;
    double frameHeight = 0;
};

// The fields of a stored "left,top,width,height,state" that converted.
struct StoredPlacement
{
    std::optional<double> left;
    std::optional<double> top;
    std::optional<double> width;
    std::optional<double> height;
    std::optional<int> stateCode;
};

// nullopt unless the text splits into exactly five fields at ",". Fields are
// trimmed and read as numbers in the locale's form; the state as a 16-bit
// whole number.
std::optional<StoredPlacement> ParseStoredPlacement(QStringView text, const QLocale &locale);

// The text to store for a window, given what was stored before: the
// window's bounds when it is in the normal state, otherwise the bounds stored
// before (0 for each that is missing or does not convert), then its state.
// A position the platform does not know keeps the stored one (centred when
// none is stored).
QString PlacementTextToSave(QStringView stored, const PlacementWindow &window,
                            const QLocale &locale);

struct PlacementToApply
{
    bool move = false;
    double left = 0;
    double top = 0;
    bool resize = false;
    double width = 0;
    double height = 0;
    WindowShowState state = WindowShowState::Normal;
};

// Where to put a window being loaded, on `screens` (the primary first).
// Missing fields mean centred on the primary screen and the window's own
// size; a window whose stored left or top lies at or beyond the right or
// bottom edge of the whole desktop is pulled back to that edge. A window that
// would keep too little of its title area on every screen's available area
// (its screen is gone, or the stored text is damaged) is centred on the
// primary screen instead. The window, with its frame, then lies wholly in the
// available area of the screen that holds most of it, as far as it fits
// there. Windows with a fixed border keep their size, and windows the
// platform places get only their size. A window stored minimised comes back
// normal: whoever restores a window is about to show it. Every result lies in
// the range window systems take (16-bit pixels).
PlacementToApply PlacementToRestore(QStringView stored, const PlacementWindow &window,
                                    const QList<PlacementScreen> &screens, int defaultStateCode,
                                    const QLocale &locale);

} // namespace voltwise
