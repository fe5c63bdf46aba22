#include "fixtureserver.h"

#include <QTcpSocket>

FixtureServer::FixtureServer(QObject *parent) : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, &FixtureServer::acceptConnection);
}

bool FixtureServer::start()
{
    return m_server.listen(QHostAddress::LocalHost, 0);
}

QString FixtureServer::hostPort() const
{
    return QStringLiteral("127.0.0.1:%1").arg(m_server.serverPort());
}

QList<QUrl> FixtureServer::requestsTo(const QString &action) const
{
    QList<QUrl> found;
    for (const QUrl &url : m_requests) {
        if (url.path().endsWith(QLatin1Char('/') + action))
            found.append(url);
    }
    return found;
}

void FixtureServer::acceptConnection()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void FixtureServer::serve(QTcpSocket *socket)
{
    QByteArray request = socket->property("request").toByteArray() + socket->readAll();
    socket->setProperty("request", request);
    if (!request.contains("\r\n\r\n"))
        return;
    const QList<QByteArray> requestLine = request.left(request.indexOf("\r\n")).split(' ');
    if (requestLine.size() < 2)
        return;
    const QUrl url = QUrl(QStringLiteral("http://fixture") + QString::fromLatin1(requestLine[1]));
    m_requests.append(url);
    const Reply reply = m_route ? m_route(url) : Reply{404, QByteArray()};
    QByteArray answer = "HTTP/1.1 " + QByteArray::number(reply.status) + " X\r\n";
    answer += "Content-Type: text/xml; charset=utf-8\r\n";
    answer += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
    answer += "Connection: close\r\n\r\n";
    answer += reply.body;
    socket->write(answer);
    socket->disconnectFromHost();
}
