#include "ui/gui/window_placement.h"

#include "platform/gui/window_system.h"
#include "settings/registry_operations.h"
#include "settings/settings_names.h"
#include "ui/window_placement_rules.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace voltwise {

namespace {

WindowShowState ShowState(Qt::WindowStates states)
{
    if (states & Qt::WindowMinimized)
        return WindowShowState::Minimized;
    if (states & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return WindowShowState::Maximized;
    return WindowShowState::Normal;
}

double Twips(int pixels)
{
    return PixelsToTwips(pixels);
}

PlacementWindow DescribeWindow(const QWidget *window)
{
    PlacementWindow described;
    // Position with the frame, size without it: move() and resize() take them so.
    described.bounds = {Twips(window->x()), Twips(window->y()), Twips(window->width()),
                        Twips(window->height())};
    described.state = ShowState(window->windowState());
    // Known once the window has been shown; no frame before.
    described.frameWidth = Twips(window->frameGeometry().width() - window->width());
    described.frameHeight = Twips(window->frameGeometry().height() - window->height());
    described.sizableBorder = window->minimumSize() != window->maximumSize() &&
                              !window->windowFlags().testFlag(Qt::MSWindowsFixedSizeDialogHint);
    described.positionKnown = WindowsCanBePlaced();
    const auto *mainWindow = qobject_cast<const QMainWindow *>(window);
    described.mdiParent = mainWindow && qobject_cast<QMdiArea *>(mainWindow->centralWidget());
    return described;
}

PlacementBounds TwipsBounds(const QRect &pixels)
{
    return {Twips(pixels.x()), Twips(pixels.y()), Twips(pixels.width()), Twips(pixels.height())};
}

// The primary screen first.
QList<PlacementScreen> DesktopScreens()
{
    QList<PlacementScreen> screens;
    const QScreen *primary = QGuiApplication::primaryScreen();
    for (const QScreen *screen : QGuiApplication::screens()) {
        const PlacementScreen described{TwipsBounds(screen->geometry()),
                                        TwipsBounds(screen->availableGeometry())};
        if (screen == primary)
            screens.prepend(described);
        else
            screens.append(described);
    }
    return screens;
}

QString StoredPlacementText(const QWidget *window, const RegistryBackend &store)
{
    if (window->objectName().isEmpty())
        return QString();
    return GetSetting(store, kApplicationTitle, kWindowSettingsSection, window->objectName(),
                      QString());
}

} // namespace

bool SaveWindowPlacement(const QWidget *window, RegistryBackend &store, const QLocale &locale)
{
    if (!window || window->objectName().isEmpty())
        return false;
    const QString text =
        PlacementTextToSave(StoredPlacementText(window, store), DescribeWindow(window), locale);
    return SaveSetting(store, kApplicationTitle, kWindowSettingsSection, window->objectName(),
                       text);
}

void RestoreWindowPlacement(QWidget *window, int defaultWindowState, const RegistryBackend &store,
                            const QLocale &locale)
{
    if (!window)
        return;
    // The size show() would give a window nobody has sized yet. A fixed size
    // is that size without measuring the contents (their text may not even
    // be there yet).
    if (!window->testAttribute(Qt::WA_Resized)) {
        if (window->minimumSize() == window->maximumSize())
            window->resize(window->minimumSize());
        else
            window->adjustSize();
    }

    const QList<PlacementScreen> screens = DesktopScreens();
    const PlacementToApply placement =
        PlacementToRestore(StoredPlacementText(window, store), DescribeWindow(window), screens,
                           defaultWindowState, locale);

    if (placement.move && !screens.isEmpty())
        window->move(TwipsToPixels(placement.left), TwipsToPixels(placement.top));
    if (placement.resize) {
        window->resize(std::max(1, TwipsToPixels(placement.width)),
                       std::max(1, TwipsToPixels(placement.height)));
    }
    Qt::WindowStates states =
        window->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen);
    if (placement.state == WindowShowState::Minimized)
        states |= Qt::WindowMinimized;
    else if (placement.state == WindowShowState::Maximized)
        states |= Qt::WindowMaximized;
    window->setWindowState(states);
}

} // namespace voltwise
