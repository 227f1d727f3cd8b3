#pragma once

#include "core/timers.h"
#include "update/software_update.h"

#include <QLocale>
#include <QObject>
#include <QPointer>
#include <QUrl>
#include <qcoro/qcorotask.h>

#include <memory>

class QAction;
class QWidget;

namespace voltwise {

class BrowserOpener;
class HttpUrlTextSource;
class RegistryBackend;

// The program's update checks, at start-up and from the Help menu: one at a
// time (the menu item is disabled while one runs), each ended cleanly when
// the program ends.
class UpdateChecker : public QObject
{
    Q_OBJECT

public:
    struct Services
    {
        RegistryBackend *store = nullptr;
        BrowserOpener *browser = nullptr; // none: "Download Update" opens nothing
        QUrl maker{};                     // the maker's server, "scheme://host[:port]"
        QLocale locale = QLocale::system();
        UpdatePrompt *prompt = nullptr; // none: the dialog and message boxes over the window
        TimerFactory *timers = &SystemTimers();
    };

    enum class Trigger
    {
        Startup,  // says nothing when no newer release exists
        HelpMenu, // says so
    };

    // menuItem ("&Check for Voltwise Updates...") starts a check when
    // triggered; dialogs are window-modal over window.
    UpdateChecker(Services services, QWidget *window, QAction *menuItem);
    ~UpdateChecker() override;

    // True when the user chose "Download Update". False at once while
    // another check runs or after cancel().
    QCoro::Task<bool> run(Trigger trigger);
    bool isRunning() const { return m_running; }

    // The program ends: a check under way stops where it is, its dialog
    // closes, and no further check starts.
    void cancel();

Q_SIGNALS:
    void checkFinished(bool downloadChosen);

private:
    void setMenuEnabled(bool enabled);

    Services m_services;
    QPointer<QAction> m_menuItem;
    HttpUrlTextSource *m_urls;
    std::unique_ptr<UpdatePrompt> m_ownPrompt;
    UpdatePrompt *m_prompt;
    std::shared_ptr<UpdateCancellation> m_cancellation;
    bool m_running = false;
    bool m_cancelled = false;
};

} // namespace voltwise
