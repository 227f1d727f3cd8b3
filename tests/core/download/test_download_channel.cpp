#include "support/manual_timers.h"
#include "support/sim_fixture.h"

#include <QNetworkReply>
#include <QSignalSpy>
#include <QTest>

using namespace voltwise;
using namespace voltwise::gridsim;
using namespace voltwise::testing;

namespace {

// The first argument of each signal the spy caught.
template <typename T>
QList<T> Args(const QSignalSpy &spy)
{
    QList<T> values;
    for (const QList<QVariant> &arguments : spy)
        values << arguments.at(0).value<T>();
    return values;
}

QString LastText(const QSignalSpy &spy)
{
    return spy.isEmpty() ? QString() : spy.last().at(0).toString();
}

} // namespace

class TestDownloadChannel : public QObject
{
    Q_OBJECT

private:
    static constexpr std::chrono::milliseconds kTimeout{1000};

    ManualTimers m_timers;
    std::unique_ptr<GridSim> m_sim;
    std::unique_ptr<DownloadChannel> m_channel;

private Q_SLOTS:
    void init()
    {
        m_sim = StartSim();
        QVERIFY(m_sim);
        m_channel = NewChannel(kTimeout);
        m_channel->setTimers(m_timers);
    }

    void cleanup()
    {
        m_channel.reset();
        m_sim.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(m_timers.alive(), 0);
        QCOMPARE(DownloadChannel::transfersAlive(), 0);
    }

    // UTF-8 unless the charset names the Latin-1 family, read as windows-1252.
    void decodesByCharset_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<QString>("expected");

        const QString cafe = u"caf\u00e9"_qs;
        for (const char *type :
             {"text/html", "text/plain; charset=x-unknown", "text/plain; xcharset=latin1"})
            QTest::newRow(type) << QByteArray("caf\xc3\xa9") << QByteArray(type) << cafe;
        const char *latin1 = "TEXT/HTML; level=1; Charset=\"Latin1\"";
        QTest::newRow(latin1) << QByteArray("caf\xe9") << QByteArray(latin1) << cafe;
        QTest::newRow("windows-1252")
            << QByteArray("\x93hi\x94 \x80\x81") << QByteArray("text/html; charset=iso-8859-1")
            << u"\u201chi\u201d \u20ac\u0081"_qs;
        QTest::newRow("invalid UTF-8")
            << QByteArray("a\xff") << QByteArray("text/plain; charset=utf-8") << u"a\ufffd"_qs;
    }

    void decodesByCharset()
    {
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, contentType);
        QTEST((DownloadResult{true, 200, body, contentType}).text(), "expected");
    }

    // Any HTTP status from 200 to 299 with its body is a completed transfer
    // (an error status, a refused connection: test_grid_readers).
    // Time-outs count silence; the clock moves by `wait`, then by `perPiece` as data comes.
    void transfer_data()
    {
        QTest::addColumn<QString>("fault"); // on the forecast page, or a URL
        QTest::addColumn<qint64>("limit");  // 0: the default
        QTest::addColumn<int>("wait");
        QTest::addColumn<int>("perPiece");
        QTest::addColumn<int>("error"); // 0: succeeds with the whole body
        QTest::addColumn<QString>("text");

        const auto row = [](const QString &name, const QString &fault, int error,
                            const QString &text = {}, qint64 limit = 0, int wait = 0,
                            int perPiece = 0) {
            QTest::newRow(qPrintable(name)) << fault << limit << wait << perPiece << error << text;
        };
        const int timeout = int(kTimeout.count());
        const QString timedOut = u"Error #4: No response for 1000 ms"_qs;
        row(u"HTTP 299"_qs, u"status:299,oversize:10"_qs, 0);
        row(u"content length 0"_qs, u"empty"_qs, 0);
        row(u"no answer in time"_qs, u"delay:60000"_qs, 4, timedOut, 0, timeout);
        row(u"stalled body"_qs, u"stall"_qs, 4, timedOut, 0, 0, timeout);
        row(u"steady body outlasting the time-out"_qs, u"oversize:6000,trickle:5"_qs, 0, {}, 0, 0,
            900);
        row(u"steady trickle past the overall time-out"_qs, u"oversize:400000,trickle:5"_qs, 4,
            timedOut, 0, 0, 900);
        for (const QString &how : {u""_qs, u",chunked"_qs}) {
            row(u"at the limit"_qs + how, u"oversize:100000"_qs + how, 0, {}, 100000);
            row(u"one byte over"_qs + how, u"oversize:100001"_qs + how, 299,
                u"Error #299: Response larger than 100000 bytes"_qs, 100000);
        }
        // Half of the announced 10 MiB comes, then nothing: only the length tells.
        row(u"announced 10 MiB against the default"_qs, u"stall,oversize"_qs, 299);
        // Handed over as whole, or closed: either way the announced length tells.
        for (const QString &cut : {u"oversize:200000,cut"_qs, u"cut"_qs})
            row(u"body cut short, "_qs + cut, cut, int(QNetworkReply::RemoteHostClosedError),
                u"Error #2: Connection closed before the whole body came"_qs);
        for (const QString &url : {u"file:///etc/hostname"_qs, u"127.0.0.1/a.csv"_qs})
            row(url, url, int(QNetworkReply::ProtocolUnknownError));
        // A refused redirect names its own cause, not the body it never read.
        row(u"redirect to itself"_qs, u"redirect:self"_qs,
            int(QNetworkReply::TooManyRedirectsError));
        for (const QString &target : {u"file:///etc/passwd"_qs, u"ftp://127.0.0.1/a.csv"_qs})
            row(u"redirect to "_qs + target, u"redirect:"_qs + target,
                int(QNetworkReply::ProtocolUnknownError));
    }

    void transfer()
    {
        QFETCH(QString, fault);
        QFETCH(qint64, limit);
        QFETCH(int, wait);
        QFETCH(int, perPiece);
        QFETCH(int, error);
        QFETCH(QString, text);
        const std::optional<Fault> parsed = ParseFault(fault);
        if (parsed)
            m_sim->setFault(kForecastPagePath.toString(), *parsed);
        m_channel->setOverallTimeout(10 * kTimeout);
        if (limit > 0)
            m_channel->setMaxBodySize(limit);
        QSignalSpy states(m_channel.get(), &DownloadChannel::stateChanged);
        QSignalSpy texts(m_channel.get(), &DownloadChannel::progressText);

        const QUrl url = parsed ? m_sim->url(kForecastPagePath) : QUrl(fault);

        QCoro::Task<DownloadResult> task = m_channel->fetch(url);

        // A URL refused before any request.
        QCOMPARE(task.isReady(), !parsed && !fault.startsWith(u"http:"));
        if (wait > 0) {
            QTRY_COMPARE(m_sim->requestCount(kForecastPagePath), 1);
            m_timers.advance(std::chrono::milliseconds(wait));
        }
        for (int seen = m_timers.starts(); perPiece > 0 && !task.isReady();
             seen = m_timers.starts()) {
            QTRY_VERIFY(task.isReady() || m_timers.starts() > seen); // data came
            m_timers.advance(std::chrono::milliseconds(perPiece));
        }
        const DownloadResult result = QCoro::waitFor(task);
        QCOMPARE(result.ok, error == 0);
        QCOMPARE(result.body.size(), error == 0 ? parsed->oversizeBytes : 0);
        QCOMPARE(result.httpStatus, error == 0     ? (parsed->status ? parsed->status : 200)
                                    : error >= 400 ? error
                                                   : 0);
        if (error == 0) {
            QCOMPARE(Args<QString>(texts),
                     (QList<QString>{u"Requesting..."_qs, u"Connecting..."_qs, u"Request sent"_qs,
                                     u"Receiving response..."_qs, u"Response received"_qs,
                                     u"Response Completed"_qs}));
        } else {
            QCOMPARE(Args<int>(states).last(), int(DownloadState::Error));
            const QString expected = text.isEmpty() ? u"Error #%1: "_qs.arg(error) : text;
            QVERIFY2(LastText(texts).startsWith(expected), qPrintable(LastText(texts)));
        }
        // Whatever ends a transfer, its body and timers go at once.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(DownloadChannel::transfersAlive(), 0);
        QCOMPARE(m_timers.alive(), 0);
    }

    // An abort fails the transfer at once and leaves the channel usable (a
    // channel destroyed mid-transfer: test_grid_monitor's stop).
    void abortedTransfer()
    {
        m_sim->setFault(kForecastPagePath.toString(), Fault{.stall = true});
        QSignalSpy states(m_channel.get(), &DownloadChannel::stateChanged);
        QSignalSpy texts(m_channel.get(), &DownloadChannel::progressText);
        std::optional<DownloadResult> result;
        [](QCoro::Task<DownloadResult> task, std::optional<DownloadResult> *out) -> QCoro::Task<> {
            *out = co_await std::move(task);
        }(m_channel->fetch(m_sim->url(kForecastPagePath)), &result);
        QTRY_VERIFY(Args<int>(states).contains(int(DownloadState::ReceivingResponse)));
        QVERIFY(!result);

        m_channel->abort();

        QVERIFY(result && !result->ok && result->body.isEmpty());
        QCOMPARE(LastText(texts), u"Error #5: Operation canceled"_qs);
        m_sim->clearFaults();
        QVERIFY(QCoro::waitFor(m_channel->fetch(m_sim->url(kForecastPagePath))).ok);
    }
};

QTEST_GUILESS_MAIN(TestDownloadChannel)
#include "test_download_channel.moc"
