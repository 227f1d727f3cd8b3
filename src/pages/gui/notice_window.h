#pragma once

#include "core/timers.h"
#include "pages/notice_layout.h"

#include <QColor>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <chrono>
#include <memory>

class QFrame;
class QLabel;

namespace voltwise {

class BrowserOpener;

// A pop-up notice that slides up from the bottom right corner of the
// screen's available area, holds, slides down and deletes itself. Create one
// per notice with new and call ScrollNotice once; it owns itself.
class NoticeWindow : public QWidget
{
    Q_OBJECT

public:
    enum class Phase
    {
        Created,
        Rising,
        Holding,
        Paused,
        Falling
    };

    // `browser` opens the link; `timers` pace the slides and the hold. Both
    // must outlive the notice.
    explicit NoticeWindow(BrowserOpener &browser, TimerFactory &timers = SystemTimers());
    ~NoticeWindow() override;

    // Starts the rise and returns at once; raised() tells when it is up.
    // An empty ClickText hides the link line; an empty ClickURL makes the
    // link restore Parent (which may be null). A Delay of 0 or less holds the
    // notice up for good.
    void ScrollNotice(const QString &NoticeHeader, const QString &NoticeText,
                      const QString &ClickText, const QString &ClickURL, const QColor &Background,
                      int Delay, QWidget *Parent);

    Phase phase() const { return phase_; }
    // The height at which the rise stops, in pixels.
    int TargetHeight() const { return targetHeight_; }

    // The pointer now rests on `area`; the mouse handlers end up here.
    void PointerOver(NoticeArea area);

Q_SIGNALS:
    void raised();

protected:
    void enterEvent(QEnterEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void layOut(bool hasClickText);
    void startSlide(Phase phase);
    void slideFrame();
    void holdElapsed();
    void runHold();
    void clickLink();
    NoticeArea areaAt(QPoint position) const;
    QRect availableArea() const;

    BrowserOpener &browser_;
    QFrame *shpBorder_;
    QLabel *lblNoticeHeader_;
    QLabel *lblNoticeText_;
    QLabel *lblClickText_;
    std::unique_ptr<OneShotTimer> tmrScrollForm_;
    std::unique_ptr<OneShotTimer> slideFrames_;
    std::chrono::milliseconds slideElapsed_{0};
    int delay_ = 0;
    QString clickUrl_;
    QPointer<QWidget> NoticeParent_;
    int targetHeight_ = 0;
    Phase phase_ = Phase::Created;
    bool pointerOnLink_ = false;
};

} // namespace voltwise
