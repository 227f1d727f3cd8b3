#include "gridsim/response_writer.h"

#include "gridsim/page_writers.h"

#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

namespace voltwise::gridsim {

namespace {

constexpr qint64 kPieceSize = 64 * 1024;
constexpr qint64 kHighWater = 256 * 1024;
constexpr qint64 kStallMinimumAnnounced = 512;
constexpr qint64 kTricklePieceSize = 1024;

QByteArray Head(const ResponsePlan &plan, const QByteArray &date)
{
    QByteArray head = "HTTP/1.1 " + QByteArray::number(plan.status) + ' ' +
                      ReasonPhrase(plan.status) + "\r\nDate: " + date +
                      "\r\nServer: Apache/1.3.20 (Unix)\r\n";
    if (!plan.contentType.isEmpty())
        head += "Content-Type: " + plan.contentType + "\r\n";
    if (plan.chunked) {
        head += "Transfer-Encoding: chunked\r\n";
    } else {
        const qint64 announced =
            plan.shortBody() ? std::max(plan.bodySize(), kStallMinimumAnnounced) : plan.bodySize();
        head += "Content-Length: " + QByteArray::number(announced) + "\r\n";
    }
    head += plan.stall ? "Connection: keep-alive\r\n\r\n" : "Connection: close\r\n\r\n";
    return head;
}

} // namespace

void ResponseWriter::start(QTcpSocket *socket, ResponsePlan plan, const QByteArray &date)
{
    auto *writer = new ResponseWriter(socket, std::move(plan), date);
    connect(socket, &QTcpSocket::bytesWritten, writer, &ResponseWriter::writeMore);
    writer->writeMore();
}

ResponseWriter::ResponseWriter(QTcpSocket *socket, ResponsePlan plan, const QByteArray &date)
    : QObject(socket)
    , m_socket(socket)
    , m_plan(std::move(plan))
    , m_pending(Head(m_plan, date))
{
    if (!m_plan.headOnly)
        m_bodyToSend = m_plan.shortBody() ? m_plan.bodySize() / 2 : m_plan.bodySize();
}

QByteArray ResponseWriter::nextBodyPiece()
{
    const qint64 pieceSize = m_plan.trickle.count() > 0 ? kTricklePieceSize : kPieceSize;
    const qint64 size = std::min(pieceSize, m_bodyToSend - m_bodySent);
    QByteArray piece =
        m_plan.fillerBytes > 0 ? QByteArray(size, 'x') : m_plan.body.mid(m_bodySent, size);
    m_bodySent += size;
    if (m_plan.chunked)
        piece = QByteArray::number(size, 16) + "\r\n" + piece + "\r\n";
    return piece;
}

void ResponseWriter::writeMore()
{
    if (!m_socket || m_finished || m_waitingForTrickle)
        return;
    const bool trickling = m_plan.trickle.count() > 0;
    while (m_socket->bytesToWrite() < kHighWater) {
        if (m_pending.isEmpty()) {
            if (m_bodySent >= m_bodyToSend)
                break;
            m_pending = nextBodyPiece();
        }
        m_socket->write(m_pending);
        m_pending.clear();
        if (trickling && m_bodySent > 0 && m_bodySent < m_bodyToSend) {
            // One piece per interval: the next goes when the timer fires.
            m_waitingForTrickle = true;
            QTimer::singleShot(m_plan.trickle, this, [this] {
                m_waitingForTrickle = false;
                writeMore();
            });
            return;
        }
    }
    if (!m_pending.isEmpty() || m_bodySent < m_bodyToSend)
        return;

    m_finished = true;
    if (m_plan.stall)
        return;
    if (m_plan.chunked && !m_plan.headOnly && !m_plan.cut)
        m_socket->write("0\r\n\r\n");
    // Closes once the queued bytes are out.
    m_socket->disconnectFromHost();
}

} // namespace voltwise::gridsim
