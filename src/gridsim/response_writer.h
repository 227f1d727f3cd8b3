#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>

#include <chrono>

class QTcpSocket;

namespace voltwise::gridsim {

// One HTTP response as it will go on the wire.
struct ResponsePlan
{
    int status = 200;
    QByteArray contentType;
    QByteArray body;        // unused when fillerBytes is set
    qint64 fillerBytes = 0; // a generated body of this size, never held in memory at once
    bool chunked = false;   // chunked transfer coding instead of a Content-Length
    bool stall = false;     // announce the body, send half of it, then keep quiet and open
    bool cut = false;       // announce the body, send half of it, then close
    bool headOnly = false;  // a HEAD request: the head alone
    std::chrono::milliseconds trickle{0}; // send the body in small pieces, one per interval

    qint64 bodySize() const { return fillerBytes > 0 ? fillerBytes : body.size(); }
    bool shortBody() const { return stall || cut; }
};

// Writes a response on a raw socket as fast as the socket drains, so large
// bodies are streamed rather than queued whole, and closes the connection
// afterwards unless the response stalls. Lives as a child of the socket.
class ResponseWriter : public QObject
{
    Q_OBJECT

public:
    static void start(QTcpSocket *socket, ResponsePlan plan, const QByteArray &date);

private:
    ResponseWriter(QTcpSocket *socket, ResponsePlan plan, const QByteArray &date);

    void writeMore();
    QByteArray nextBodyPiece();

    QPointer<QTcpSocket> m_socket;
    ResponsePlan m_plan;
    QByteArray m_pending;
    qint64 m_bodySent = 0;
    qint64 m_bodyToSend = 0;
    bool m_waitingForTrickle = false;
    bool m_finished = false;
};

} // namespace voltwise::gridsim
