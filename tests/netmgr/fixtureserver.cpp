#include "fixtureserver.h"

#include <QTcpSocket>
#include <memory>
#include <utility>

QString FixtureServer::hostPort() const
{
    return QStringLiteral("127.0.0.1:%1").arg(serverPort());
}

QList<QUrl> FixtureServer::requestsTo(const QString &action) const
{
    QList<QUrl> found;
    for (const QByteArray &target : targets) {
        const QUrl url(QStringLiteral("http://fixture") + QString::fromLatin1(target));
        if (url.path().endsWith(QLatin1Char('/') + action))
            found.append(url);
    }
    return found;
}

void FixtureServer::incomingConnection(qintptr handle)
{
    auto *socket = new QTcpSocket(this);
    socket->setSocketDescriptor(handle);
    auto request = std::make_shared<QByteArray>();
    connect(socket, &QTcpSocket::readyRead, this, [this, socket, request] {
        request->append(socket->readAll());
        if (request->contains("\r\n\r\n"))
            serve(socket, *request);
    });
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
}

void FixtureServer::serve(QTcpSocket *socket, QByteArray &request)
{
    const QList<QByteArray> line = request.left(request.indexOf("\r\n")).split(' ');
    request.clear();
    if (line.size() < 2)
        return;
    targets.append(line[1]);
    const Reply reply =
        m_route ? m_route(QUrl(QStringLiteral("http://fixture") + QString::fromLatin1(line[1])))
                : Reply{404, QByteArray()};
    if (reply.shape == Silent)
        return;
    if (reply.shape == Held) {
        m_held.append({socket, Reply{reply.status, reply.body, Whole}});
        return;
    }
    answer(socket, reply);
}

void FixtureServer::releaseHeld()
{
    const auto held = std::exchange(m_held, {});
    for (const auto &entry : held) {
        if (entry.first)
            answer(entry.first, entry.second);
    }
}

void FixtureServer::answer(QTcpSocket *socket, const Reply &reply)
{
    QByteArray head = "HTTP/1.1 " + QByteArray::number(reply.status) +
                      " X\r\nContent-Type: text/xml; charset=utf-8\r\nConnection: close\r\n";
    const qint64 promised = reply.shape == CutShort ? reply.body.size() * 2 : reply.body.size();
    if (reply.shape != Streamed)
        head += "Content-Length: " + QByteArray::number(promised) + "\r\n";
    socket->write(head + "\r\n" + reply.body);
    socket->disconnectFromHost();
}
