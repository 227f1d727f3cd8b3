#include "ui/gui/notice_delivery.h"

#include "pages/gui/notice_window.h"
#include "platform/browser.h"
#include "platform/data_files.h"
#include "platform/gui/desktop_notifier.h"
#include "platform/gui/window_system.h"
#include "platform/sound_player.h"
#include "settings/app_settings.h"
#include "status/notice_style.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

namespace voltwise {

NoticeDelivery::NoticeDelivery(Services services, const AppSettings &settings, QWidget *window)
    : QObject(window)
    , m_services(services)
    , m_settings(settings)
    , m_window(window)
{}

void NoticeDelivery::deliver(const ChangeNotice &notice, int level)
{
    if (notice.PlaySound && m_services.sound)
        m_services.sound->PlayWave(DataFilePath(u"notice.wav"_qs));
    if (m_services.notifier && NoticeGoesToDesktop(m_settings.NoticeStyle, WindowsCanBePlaced()))
        notifyOnDesktop(notice, level);
    else
        showNoticeWindow(notice);
}

QCoro::Task<> NoticeDelivery::notifyOnDesktop(ChangeNotice notice, int level)
{
    QPointer<NoticeDelivery> self(this);
    const bool shown = co_await m_services.notifier->show(notice, level);
    // Without a server that takes it, the notice still reaches the user.
    if (self && !shown)
        showNoticeWindow(notice);
}

void NoticeDelivery::showNoticeWindow(const ChangeNotice &notice)
{
    // Without a browser the notice still shows; its link opens nothing.
    auto *window = new NoticeWindow(m_services.browser ? *m_services.browser : NoBrowser());
    // The main window's text, as translated there.
    window->setWindowTitle(QCoreApplication::translate("voltwise::MainWindow", "Voltwise Notice"));
    window->ScrollNotice(notice.NoticeHeader, notice.NoticeText, notice.ClickText,
                         notice.ClickURL.toString(),
                         m_window->palette().color(QPalette::ToolTipBase), notice.Delay, nullptr);
    Q_EMIT noticeRaised(window);
}

} // namespace voltwise
