#ifndef RAWHTTP_H
#define RAWHTTP_H

// HTTP over a plain socket to the front door: the request goes out byte for
// byte as the test wrote it (any method, any Host), the answer comes back
// with its status, headers and body.

#include "storeclient.h"

#include <QByteArray>
#include <QHostAddress>
#include <QRegularExpression>
#include <QTcpSocket>
#include <algorithm>

namespace RawHttp {

// Takes apart an HTTP/1.0 answer read to its end.
inline HttpResult parse(const QByteArray &answer)
{
    HttpResult result;
    const qsizetype headEnd = answer.indexOf("\r\n\r\n");
    if (headEnd < 0)
        return result;
    const QList<QByteArray> lines = answer.left(headEnd).split('\n');
    result.status = lines.value(0).split(' ').value(1).toInt();
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0)
            result.headers.insert(lines[i].left(colon).trimmed().toLower(),
                                  lines[i].mid(colon + 1).trimmed());
    }
    result.body = answer.mid(headEnd + 4);
    return result;
}

// One request over HTTP/1.0, so nginx closes when it has answered. headers
// are whole lines without their CRLF; a Host line is added unless given.
inline HttpResult request(int port, const QByteArray &method, const QByteArray &target,
                          QList<QByteArray> headers = {}, const QByteArray &body = {})
{
    const bool hasHost = std::any_of(headers.cbegin(), headers.cend(), [](const QByteArray &h) {
        return h.toLower().startsWith("host:");
    });
    if (!hasHost)
        headers.prepend("Host: 127.0.0.1");
    if (!body.isEmpty())
        headers << "Content-Length: " + QByteArray::number(body.size());
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, quint16(port));
    if (!socket.waitForConnected(5000))
        return {};
    socket.write(method + ' ' + target + " HTTP/1.0\r\n" + headers.join("\r\n") + "\r\n\r\n" +
                 body);
    QByteArray answer;
    while (socket.state() == QAbstractSocket::ConnectedState && socket.waitForReadyRead(30000))
        answer += socket.readAll();
    return parse(answer + socket.readAll());
}

inline HttpResult get(int port, const QByteArray &target, const QList<QByteArray> &headers = {})
{
    return request(port, "GET", target, headers);
}

} // namespace RawHttp

#endif // RAWHTTP_H
