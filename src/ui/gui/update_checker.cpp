#include "ui/gui/update_checker.h"

#include "core/server_urls.h"
#include "platform/browser.h"
#include "ui/gui/dialog_update_prompt.h"
#include "update/url_text.h"

#include <QAction>

namespace voltwise {

UpdateChecker::UpdateChecker(Services services, QWidget *window, QAction *menuItem)
    : QObject(window)
    , m_services(std::move(services))
    , m_menuItem(menuItem)
    , m_urls(new HttpUrlTextSource(*m_services.timers, this))
    , m_prompt(m_services.prompt)
{
    if (!m_prompt) {
        m_ownPrompt = std::make_unique<DialogUpdatePrompt>(window);
        m_prompt = m_ownPrompt.get();
    }
    if (m_menuItem) {
        connect(m_menuItem, &QAction::triggered, this, [this] { run(Trigger::HelpMenu); });
        setMenuEnabled(true);
    }
}

UpdateChecker::~UpdateChecker()
{
    cancel();
}

QCoro::Task<bool> UpdateChecker::run(Trigger trigger)
{
    if (m_running || m_cancelled)
        co_return false;
    m_running = true;
    setMenuEnabled(false);
    m_cancellation = std::make_shared<UpdateCancellation>();

    UpdateCheckContext context;
    context.urls = m_urls;
    context.store = m_services.store;
    context.locale = m_services.locale;
    context.cancellation = m_cancellation;
    context.timers = m_services.timers;
    const QString descriptor =
        ServerUrls::resolve(m_services.maker, kUpdateDescriptorPath.toString()).toString();
    const bool menu = trigger == Trigger::HelpMenu;
    const bool downloadChosen = co_await SoftwareUpdate(
        context, *m_prompt, m_services.browser ? *m_services.browser : NoBrowser(), descriptor,
        false, menu, menu);
    // cancel() ends a check synchronously, before the checker can go.
    m_running = false;
    if (!m_cancelled)
        setMenuEnabled(true);
    Q_EMIT checkFinished(downloadChosen);
    co_return downloadChosen;
}

void UpdateChecker::cancel()
{
    if (m_cancelled)
        return;
    m_cancelled = true;
    setMenuEnabled(false);
    if (!m_running)
        return;
    m_cancellation->cancelled = true;
    m_urls->abort();
    m_prompt->dismiss();
}

void UpdateChecker::setMenuEnabled(bool enabled)
{
    if (m_menuItem)
        m_menuItem->setEnabled(enabled);
}

} // namespace voltwise
