#pragma once

#include "core/timers.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <qcoro/qcorotask.h>

#include <chrono>

class QNetworkAccessManager;
class QNetworkReply;

namespace voltwise {

// Texts fetched by URL for the update check.
class UrlTextSource
{
public:
    virtual ~UrlTextSource() = default;
    // The body of a GET that answered with status 200; empty after any
    // failure, other status or a URL that is blank or not http or https.
    virtual QCoro::Task<QString> GetURLText(QString url) = 0;
    // Ends every request under way; each completes with an empty text
    // before abort() returns.
    virtual void abort() {}
};

// GetURLText over HTTP, apart from the grid's download channel. Each stage
// (name look-up and connection, sending, every piece of the answer) must
// show progress within ten seconds.
class HttpUrlTextSource final : public QObject, public UrlTextSource
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds kTimeout{10000};
    // A descriptor or change log is small; anything larger is no answer.
    static constexpr qint64 kMaxBodySize = 1024 * 1024;

    explicit HttpUrlTextSource(TimerFactory &timers = SystemTimers(), QObject *parent = nullptr);
    // Ends every request under way first: each GetURLText then completes
    // with an empty text.
    ~HttpUrlTextSource() override;

    QCoro::Task<QString> GetURLText(QString url) override;

    void abort() override;

private:
    TimerFactory &m_timers;
    QNetworkAccessManager *m_manager;
    QList<QPointer<QNetworkReply>> m_inFlight;
    bool m_closing = false;
};

} // namespace voltwise
