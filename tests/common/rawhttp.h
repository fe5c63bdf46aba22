#ifndef RAWHTTP_H
#define RAWHTTP_H

// HTTP over a plain socket: the request goes out byte for byte as the test
// wrote it (any method, any Host, half a head), for requests no ordinary
// client would send and for clients that are slow, idle or go away.

#include "storeclient.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QHostAddress>
#include <QTcpSocket>
#include <algorithm>

class RawClient
{
public:
    bool open(int port)
    {
        m_socket.connectToHost(QHostAddress::LocalHost, quint16(port));
        return m_socket.waitForConnected(5000);
    }

    void send(const QByteArray &bytes)
    {
        m_socket.write(bytes);
        m_socket.flush();
    }

    bool connected() const { return m_socket.state() == QAbstractSocket::ConnectedState; }
    QTcpSocket &socket() { return m_socket; }
    QByteArray pending() const { return m_pending; }

    // The next whole answer, or status 0 when the connection ends first. An
    // answer without a length runs to the end of a closed connection.
    HttpResult answer(int timeoutMs = 10000)
    {
        const QDeadlineTimer deadline(timeoutMs);
        qsizetype end = -1;
        while ((end = m_pending.indexOf("\r\n\r\n")) < 0) {
            if (!readMore(deadline))
                return {};
        }
        HttpResult answer;
        const QList<QByteArray> lines = m_pending.left(end).split('\n');
        answer.status = lines.first().split(' ').value(1).toInt();
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const qsizetype colon = lines.at(i).indexOf(':');
            answer.headers.insert(lines.at(i).left(colon).trimmed().toLower(),
                                  lines.at(i).mid(colon + 1).trimmed());
        }
        m_pending.remove(0, end + 4);
        const QByteArray length = answer.headers.value("content-length");
        const qint64 size =
            length.isNull() && !connected() ? m_pending.size() : length.toLongLong();
        while (m_pending.size() < size) {
            if (!readMore(deadline))
                return {};
        }
        answer.body = m_pending.left(size);
        m_pending.remove(0, size);
        return answer;
    }

    // True when the server closes the connection within the time.
    bool waitClosed(int timeoutMs)
    {
        const QDeadlineTimer deadline(timeoutMs);
        while (readMore(deadline)) {
        }
        return !connected();
    }

private:
    bool readMore(const QDeadlineTimer &deadline)
    {
        if (m_socket.bytesAvailable() == 0 &&
            (!connected() ||
             !m_socket.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())))))
            return false;
        m_pending += m_socket.readAll();
        return true;
    }

    QTcpSocket m_socket;
    QByteArray m_pending;
};

namespace RawHttp {

// One GET over HTTP/1.0, answered and closed. headers are whole lines
// without their CRLF; a Host line is added unless given.
inline HttpResult get(int port, const QByteArray &target, QList<QByteArray> headers = {})
{
    if (std::none_of(headers.cbegin(), headers.cend(),
                     [](const QByteArray &h) { return h.toLower().startsWith("host:"); }))
        headers.prepend("Host: 127.0.0.1");
    RawClient client;
    if (!client.open(port))
        return {};
    client.send("GET " + target + " HTTP/1.0\r\n" + headers.join("\r\n") + "\r\n\r\n");
    client.waitClosed(30000);
    return client.answer(0);
}

} // namespace RawHttp

#endif // RAWHTTP_H
