#pragma once

#include "status/change_alert.h"

#include <QObject>
#include <qcoro/qcorotask.h>

class QWidget;

namespace voltwise {

struct AppSettings;
class BrowserOpener;
class DesktopNotifier;
class SoundPlayer;

// Brings a change notice to the user: the chime, then the notice in the
// desktop's notification server or in a window of its own, as the settings
// and the desktop allow. Deleting it drops a notice still on its way.
class NoticeDelivery : public QObject
{
    Q_OBJECT

public:
    struct Services
    {
        SoundPlayer *sound = nullptr;
        DesktopNotifier *notifier = nullptr;
        BrowserOpener *browser = nullptr;
    };
    // The notice window takes its colour from window's palette.
    NoticeDelivery(Services services, const AppSettings &settings, QWidget *window);

    void deliver(const ChangeNotice &notice, int level);

Q_SIGNALS:
    void noticeRaised(QWidget *notice);

private:
    QCoro::Task<> notifyOnDesktop(ChangeNotice notice, int level);
    void showNoticeWindow(const ChangeNotice &notice);

    Services m_services;
    const AppSettings &m_settings;
    QWidget *m_window;
};

} // namespace voltwise
