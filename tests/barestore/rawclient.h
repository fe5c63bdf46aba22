#ifndef RAWCLIENT_H
#define RAWCLIENT_H

// One connection to the server under test, with bytes going out exactly as
// written: for requests no ordinary client would send, and for clients that
// are slow, idle or go away half-way.

#include <QByteArray>
#include <QDeadlineTimer>
#include <QHash>
#include <QHostAddress>
#include <QTcpSocket>

struct RawAnswer
{
    int status = 0;
    QHash<QByteArray, QByteArray> headers; // names in lower case
    QByteArray body;
};

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

    // The next whole answer, or status 0 when the connection ends first.
    RawAnswer answer(int timeoutMs = 10000)
    {
        const QDeadlineTimer deadline(timeoutMs);
        qsizetype end = -1;
        while ((end = m_pending.indexOf("\r\n\r\n")) < 0) {
            if (!readMore(deadline))
                return {};
        }
        RawAnswer answer;
        const QList<QByteArray> lines = m_pending.left(end).split('\n');
        answer.status = lines.first().split(' ').value(1).toInt();
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const qsizetype colon = lines.at(i).indexOf(':');
            answer.headers.insert(lines.at(i).left(colon).trimmed().toLower(),
                                  lines.at(i).mid(colon + 1).trimmed());
        }
        m_pending.remove(0, end + 4);
        const qint64 length = answer.headers.value("content-length").toLongLong();
        while (m_pending.size() < length) {
            if (!readMore(deadline))
                return {};
        }
        answer.body = m_pending.left(length);
        m_pending.remove(0, length);
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

    QByteArray pending() const { return m_pending; }

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

#endif // RAWCLIENT_H
