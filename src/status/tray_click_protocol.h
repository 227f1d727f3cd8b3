#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>

namespace voltwise {

// Mouse actions on the notification-area icon, as the protocol sees them.
enum class TrayMouseEvent
{
    LeftButtonDown,
    LeftButtonDoubleClick,
    RightButtonDown,
    RightButtonUp,
    // A panel that draws items itself reports clicks, not buttons, and
    // never a double click: its primary and secondary activation, and its
    // request for the menu where it cannot draw the menu itself.
    PanelActivate,
    PanelSecondaryActivate,
    PanelContextMenu,
    Other,
};

// Tells a single left click (menu, after a pause in which a double click
// could still follow) from a double click (main window, no menu); the right
// button opens the menu at once, on release. On a panel that reports no
// double click, its click is the only way to the main window.
class TrayClickProtocol : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds kSingleClickDelay{500};

    explicit TrayClickProtocol(QObject *parent = nullptr,
                               std::chrono::milliseconds singleClickDelay = kSingleClickDelay);

    void handle(TrayMouseEvent event);

    // The pause after a left press has run out; also called by the
    // protocol's own timer.
    void timerFired();

    bool isSingleClickPending() const { return m_singleClickPending; }

Q_SIGNALS:
    // Bring the main window to the foreground, then pop up the icon menu.
    void showMenu();
    // Bring the main window to the foreground and run the Details action.
    void showDetails();

private:
    void cancelSingleClick();

    QTimer m_singleClickTimer;
    bool m_singleClickPending = false;
};

} // namespace voltwise
