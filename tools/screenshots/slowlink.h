#ifndef SLOWLINK_H
#define SLOWLINK_H

// A relay on a loopback port in front of the store server that hands book
// packages on at a handset's pace. On loopback a package arrives at once, so
// the download centre would never be seen with a download under way; through
// this link the same bytes from the same store come in small steps. Other
// answers pass at full speed. The store builds its package links from its
// public address, so for the downloads to come back through the link that
// address must be the link's.

#include <QByteArray>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <memory>

class SlowLink
{
public:
    // Listens on a loopback port (a free one when port is 0) and relays to
    // 127.0.0.1:upstreamPort; a package connection gets `bytesPerStep` bytes
    // every `stepMs`.
    bool listen(quint16 upstreamPort, int bytesPerStep, int stepMs, quint16 port = 0)
    {
        m_upstreamPort = upstreamPort;
        m_bytesPerStep = bytesPerStep;
        m_stepMs = stepMs;
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            while (QTcpSocket *client = m_server.nextPendingConnection())
                relay(client);
        });
        return m_server.listen(QHostAddress::LocalHost, port);
    }

    QString hostPort() const { return QStringLiteral("127.0.0.1:%1").arg(m_server.serverPort()); }
    // For a store started after the link, on the link's address.
    void setUpstreamPort(quint16 port) { m_upstreamPort = port; }

private:
    // One client connection: its upstream socket, the bytes held back and
    // the pace timer are children of the client socket and go with it.
    void relay(QTcpSocket *client)
    {
        auto *upstream = new QTcpSocket(client);
        auto *pace = new QTimer(client);
        auto held = std::make_shared<QByteArray>();
        auto toServer = std::make_shared<QByteArray>();
        auto slow = std::make_shared<bool>(false);
        pace->setInterval(m_stepMs);

        QObject::connect(client, &QTcpSocket::readyRead, client, [=] {
            const QByteArray request = client->readAll();
            if (request.contains("/package.action"))
                *slow = true;
            if (upstream->state() == QAbstractSocket::ConnectedState)
                upstream->write(request);
            else
                toServer->append(request);
        });
        QObject::connect(upstream, &QTcpSocket::connected, client, [=] {
            upstream->write(*toServer);
            toServer->clear();
        });
        QObject::connect(upstream, &QTcpSocket::readyRead, client, [=] {
            held->append(upstream->readAll());
            if (!*slow) {
                client->write(*held);
                held->clear();
            } else if (!pace->isActive()) {
                pace->start();
            }
        });
        const int step = m_bytesPerStep;
        QObject::connect(pace, &QTimer::timeout, client, [=] {
            client->write(held->left(step));
            held->remove(0, step);
            if (!held->isEmpty())
                return;
            pace->stop();
            if (upstream->state() == QAbstractSocket::UnconnectedState)
                client->disconnectFromHost();
        });
        // The store closed: pass that on once everything held went out.
        QObject::connect(upstream, &QTcpSocket::disconnected, client, [=] {
            if (held->isEmpty())
                client->disconnectFromHost();
        });
        QObject::connect(upstream, &QTcpSocket::errorOccurred, client, [=] {
            if (held->isEmpty())
                client->disconnectFromHost();
        });
        // The reader hung up (a paused download): drop the store's side too.
        QObject::connect(client, &QTcpSocket::disconnected, client, [=] {
            upstream->abort();
            client->deleteLater();
        });
        upstream->connectToHost(QHostAddress::LocalHost, m_upstreamPort);
    }

    QTcpServer m_server;
    quint16 m_upstreamPort = 0;
    int m_bytesPerStep = 0;
    int m_stepMs = 0;
};

#endif // SLOWLINK_H
