#pragma once

#include "core/timers.h"

#include <QObject>
#include <QString>
#include <qcoro/qcorotask.h>

#include <chrono>

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

class DownloadChannel;

// GetURLText through a download channel of its own (the grid's keeps its
// status-bar texts): the same User-Agent, schemes, redirects and size cap,
// with ten seconds of silence at most.
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
    DownloadChannel *m_channel;
    bool m_closing = false;
};

} // namespace voltwise
