#pragma once

#include <QByteArray>
#include <QCoro/QCoroTask>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <chrono>
#include <optional>

class QNetworkAccessManager;

namespace voltwise {

class TimerFactory;

// Progress states of a transfer, with the codes the status bar knows.
enum class DownloadState : int
{
    None = 0,
    ResolvingHost = 1,
    HostResolved = 2,
    Connecting = 3,
    Connected = 4,
    Requesting = 5,
    RequestSent = 6,
    ReceivingResponse = 7,
    ResponseReceived = 8,
    Disconnecting = 9,
    Disconnected = 10,
    Error = 11,
    ResponseCompleted = 12,
};

// The status-bar text for a state; nullopt leaves the bar as it is.
// responseCode and responseText are only used by the error state.
std::optional<QString> ProgressText(int state, int responseCode, const QString &responseText);

struct DownloadResult
{
    bool ok = false;    // the transfer completed with an HTTP status of 200 to 299
    int httpStatus = 0; // of a complete answer, also when not ok; else 0
    QByteArray body;    // empty unless ok
    QByteArray contentType;

    // The body decoded by its declared charset (UTF-8 when none or unknown).
    QString text() const;
};

// The one channel through which grid data is downloaded, one request at a
// time. A download fails when its transfer fails (no connection, refused,
// time-out, too large, a scheme other than http or https) and when the
// server answers with an HTTP status outside 200 to 299: an error page is
// not the resource.
class DownloadChannel : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds kDefaultTimeout{60000};
    // However slowly the server drips, a transfer ends within this.
    static constexpr std::chrono::milliseconds kDefaultOverallTimeout{120000};
    static constexpr qint64 kDefaultMaxBodySize = 8 * 1024 * 1024;

    explicit DownloadChannel(QObject *parent = nullptr);
    ~DownloadChannel() override;

    void setTimeout(std::chrono::milliseconds timeout);
    void setOverallTimeout(std::chrono::milliseconds overall);
    void setMaxBodySize(qint64 bytes);
    // For the time-outs of later fetches; it must outlive this channel.
    void setTimers(TimerFactory &timers);
    TimerFactory &timers() const;

    // Transfers not yet released, in all channels of the process: a finished
    // transfer, whatever its outcome, gives back its body and timers at once.
    static int transfersAlive();

    // The time-out counts silence: it starts again whenever data arrives;
    // the overall time-out ends any transfer that has not completed.
    //
    // Destroying the channel while a fetch is suspended fails that fetch
    // later, from the event loop, after the channel is gone. A caller that
    // may be destroyed with the channel must therefore hold QPointers to the
    // channel and to itself and check them after each co_await.
    //
    // Every request names the program and its version as its User-Agent;
    // accept, when given, is sent as the Accept header.
    QCoro::Task<DownloadResult> fetch(QUrl url, QByteArray accept = {});

    // Aborts the transfer under way, if any; its fetch completes as failed
    // at once, before abort() returns.
    void abort();
    // Ends the transfer under way, if any, as timed out, with why as the
    // error's text; its fetch completes as failed at once.
    void timeOut(const QString &why);

    // A transfer completed, but its reader refused what came back: shown
    // like a transfer error, with code (the HTTP status) and why.
    void reportRefused(int code, const QString &why);

Q_SIGNALS:
    void stateChanged(int state);
    // The status-bar text for each state change (see ProgressText).
    void progressText(const QString &text);

private:
    class Private;
    Private *d;
};

} // namespace voltwise
